#include "pictures/Synchronize.h"

#include <atomic>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>

#include "base/KernelHandle.h"

namespace {

constexpr UINT SynchronizeMessage = WM_APP + 1;
constexpr const char* WindowClassName = "TallyglassSynchronize";

struct QueuedCall {
    explicit QueuedCall(const std::function<void()>& function) : call(function) {}
    const std::function<void()>& call;
    std::exception_ptr error;
    KernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

struct SynchronizeState {
    std::mutex mutex;
    std::deque<QueuedCall*> queue;
    // Set whenever a call is queued, for CheckSynchronize's wait.
    KernelHandle queued{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    HWND window = nullptr;
    std::atomic<DWORD> mainThread{0};
};

SynchronizeState& State()
{
    static SynchronizeState state;
    return state;
}

LRESULT CALLBACK SynchronizeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SynchronizeMessage) {
        CheckSynchronize();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::deque<QueuedCall*> TakeQueue(SynchronizeState& state)
{
    std::lock_guard lock(state.mutex);
    return std::exchange(state.queue, {});
}

}  // namespace

void InitSynchronize()
{
    SynchronizeState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.mainThread != 0)
        return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SynchronizeWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WindowClassName;
    RegisterClassA(&windowClass);
    state.window =
        CreateWindowExA(0, WindowClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (state.window == nullptr || !state.queued)
        throw std::runtime_error("Cannot create the window that runs synchronised calls");
    state.mainThread = GetCurrentThreadId();
}

DWORD MainThreadId() { return State().mainThread; }

void Synchronize(const std::function<void()>& call)
{
    SynchronizeState& state = State();
    const DWORD mainThread = state.mainThread;
    if (mainThread == GetCurrentThreadId()) {
        call();
        return;
    }
    if (mainThread == 0)
        throw std::logic_error("Synchronize called before InitSynchronize");
    QueuedCall queued(call);
    if (!queued.done)
        throw std::runtime_error("Cannot create the event of a synchronised call");
    {
        std::lock_guard lock(state.mutex);
        state.queue.push_back(&queued);
    }
    SetEvent(state.queued.Get());
    PostMessageA(state.window, SynchronizeMessage, 0, 0);
    WaitForSingleObject(queued.done.Get(), INFINITE);
    if (queued.error)
        std::rethrow_exception(queued.error);
}

bool CheckSynchronize(DWORD timeoutMs)
{
    SynchronizeState& state = State();
    if (state.mainThread != GetCurrentThreadId())
        return false;
    std::deque<QueuedCall*> calls = TakeQueue(state);
    if (calls.empty() && timeoutMs > 0) {
        WaitForSingleObject(state.queued.Get(), timeoutMs);
        calls = TakeQueue(state);
    }
    for (QueuedCall* queued : calls) {
        try {
            queued->call();
        } catch (...) {
            queued->error = std::current_exception();
        }
        // The caller may free queued as soon as this is set.
        SetEvent(queued->done.Get());
    }
    return !calls.empty();
}
