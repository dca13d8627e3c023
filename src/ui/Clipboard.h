#pragma once
// Putting text on the clipboard.
#include <windows.h>

#include <string_view>

// Replaces the clipboard's contents with a UTF-8 text, both as Unicode text
// and as 8-bit text of the system code page (what that page cannot hold
// becoming its default character), so that every program finds a form it
// reads. The owner is the window that copies.
void SetClipboardText(HWND owner, std::string_view utf8);
