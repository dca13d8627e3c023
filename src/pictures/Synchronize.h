#pragma once
// Runs calls on the user-interface (UI) thread on behalf of worker threads,
// and waits for them: the way a worker touches windows and device contexts
// that belong to the UI thread.
//
// InitSynchronize() makes the calling thread the UI thread, once per process:
// it gets a hidden message-only window. Later calls from any thread do
// nothing. Synchronize(call) from another thread queues the call, posts a
// message to that window and blocks until the UI thread has run it; an
// exception the call raises is raised again in the worker. On the UI thread
// Synchronize runs the call at once.
//
// The UI thread runs queued calls
//  - when its message loop dispatches the window's message: any loop that
//    calls DispatchMessage (the application's loop, modal dialogs, message
//    boxes) needs nothing more;
//  - when it calls CheckSynchronize(). Code on the UI thread that waits for a
//    worker which may synchronise must call it while it waits, or both wait
//    for each other. A loop that takes messages without dispatching them
//    must call it too.
#include <windows.h>

#include <functional>

// Makes the calling thread the UI thread unless there is one already.
void InitSynchronize();

// The UI thread's id; 0 before InitSynchronize().
DWORD MainThreadId();

// Runs call on the UI thread and returns when it has run. Raises
// std::logic_error from a worker when there is no UI thread yet.
void Synchronize(const std::function<void()>& call);

// On the UI thread: waits up to timeoutMs for a queued call when none is
// queued, then runs every queued call. Returns whether any ran. Elsewhere it
// returns false at once.
bool CheckSynchronize(DWORD timeoutMs = 0);
