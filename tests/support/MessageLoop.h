#pragma once
// The program's message loop run by a test with a deadline, so that a way of
// closing that fails to end the loop fails the test instead of hanging it.
#include <windows.h>

#include "ui/Application.h"

// True when the loop ended by itself within the time; otherwise it is ended
// for the test to go on.
inline bool RunEndsWithin(UINT milliseconds)
{
    static bool expired;
    expired = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, [](HWND, UINT, UINT_PTR, DWORD) {
        expired = true;
        PostQuitMessage(0);
    });
    Application.Run();
    KillTimer(nullptr, timer);
    return !expired;
}
