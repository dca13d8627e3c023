#pragma once
// A user's keys, the clipboard and the common file dialogs, for the window
// tests: keys go through the program's own message loop, and a dialog is
// answered as a user would answer it.
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>

#include "ui/Application.h"

// Holds the given keys down (as the thread's keyboard state) while a key or
// click is handled.
class KeysHeld {
public:
    explicit KeysHeld(std::initializer_list<int> keys)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (const int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~KeysHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

inline void PressKey(HWND window, WPARAM key, std::initializer_list<int> held = {}, UINT down = WM_KEYDOWN)
{
    const KeysHeld keys(held);
    PostMessageA(window, down, key, 0);
    PostMessageA(window, down + 1, key, 0xC0000000);  // the matching key up
    Application.ProcessMessages();
}

// The clipboard's text in one format: CF_TEXT as char, CF_UNICODETEXT as wchar_t.
template <typename Char>
std::basic_string<Char> ClipboardText(UINT format)
{
    std::basic_string<Char> text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(format)) {
            text = static_cast<const Char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

inline std::string ClipboardText()
{
    return ClipboardText<char>(CF_TEXT);
}

inline void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

inline std::wstring ClipboardUnicodeText()
{
    return ClipboardText<wchar_t>(CF_UNICODETEXT);
}

// Finds the thread's common dialog once it shows, notes the name it offers,
// names a file in its place and presses its OK button, once.
class CommonDialogDriver {
public:
    explicit CommonDialogDriver(std::string path) : timer_(SetTimer(nullptr, 0, 100, Tick))
    {
        path_ = std::move(path);
        offered_.clear();
        answered_ = false;
    }
    ~CommonDialogDriver() { KillTimer(nullptr, timer_); }
    static const std::string& Offered() { return offered_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) {
                char name[16] = {};
                GetClassNameA(window, name, sizeof name);
                if (std::string(name) != "#32770" || !IsWindowVisible(window))
                    return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || answered_)
            return;
        answered_ = true;
        constexpr int kFileNameBox = 0x47c;  // cmb13, the Explorer-style dialog's name box
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dialog, kFileNameBox, text, sizeof text);
        offered_ = text;
        SetDlgItemTextA(dialog, kFileNameBox, path_.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }

    static inline std::string path_;
    static inline std::string offered_;
    static inline bool answered_ = false;
    UINT_PTR timer_;
};
