#pragma once
// Putting text on the clipboard.
#include <windows.h>

#include <string_view>

// Replaces the clipboard's contents with an 8-bit text of the system code
// page, both as Unicode text (converted) and as 8-bit text, so that every
// program finds a form it reads. The owner is the window that copies.
void SetClipboardText(HWND owner, std::string_view text);
