#pragma once
// Conversions into UTF-8 for text that arrives in other forms: UTF-16LE (the
// registry's own names, regedit's exports), Latin-1 (names that a hive stores
// one byte per character) and the ANSI code page (the 8-bit registry calls,
// "REGEDIT4" exports). Unpaired surrogates and broken UTF-8 become U+FFFD.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

void AppendUtf8(std::string& text, char32_t codePoint);
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);
std::string Latin1ToUtf8(std::string_view text);
// Windows-1252; its five unassigned bytes keep their own code points, as
// Windows converts them.
std::string Windows1252ToUtf8(std::string_view text);
// The system's ANSI code page on Windows, Windows-1252 elsewhere.
std::string AnsiToUtf8(std::string_view text);
#ifdef _WIN32
// The system's ANSI code page as UTF-16 code units (the clipboard's text).
std::u16string AnsiToUtf16(std::string_view text);
#endif

// UTF-16 code units and UTF-8, both ways (command lines and consoles).
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
// The text with every byte sequence that is not UTF-8 replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
