#pragma once
// The program's texts are 8-bit, in the system code page (CP_ACP), as the
// registry's 8-bit interface hands them out. These turn them into the forms
// that other programs read: UTF-16 and UTF-8.
#include <windows.h>

#include <string>
#include <string_view>

inline std::wstring WideFromAnsi(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

inline std::string Utf8FromAnsi(std::string_view text)
{
    const std::wstring wide = WideFromAnsi(text);
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}
