#pragma once
// The modifier keys held down, as the thread's keyboard state has them while
// a key or click is handled.
#include <windows.h>

enum TShiftStateKey : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

inline TShiftState KeyboardShiftState()
{
    return (GetKeyState(VK_SHIFT) < 0 ? ssShift : 0u) | (GetKeyState(VK_MENU) < 0 ? ssAlt : 0u) |
           (GetKeyState(VK_CONTROL) < 0 ? ssCtrl : 0u);
}
