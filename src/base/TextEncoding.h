#pragma once
// Conversions into UTF-8 for text that arrives in other forms: UTF-16LE (the
// registry's own names, regedit's exports) and Latin-1 (names that a hive
// stores one byte per character). Unpaired surrogates become U+FFFD.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

void AppendUtf8(std::string& text, char32_t codePoint);
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);
std::string Latin1ToUtf8(std::string_view text);
