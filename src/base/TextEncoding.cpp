#include "base/TextEncoding.h"

#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void AppendUtf8(std::string& text, char32_t codePoint)
{
    const auto byte = [&](char32_t value) { text += static_cast<char>(value); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | codePoint >> 6);
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | codePoint >> 12);
        byte(0x80 | (codePoint >> 6 & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | codePoint >> 18);
        byte(0x80 | (codePoint >> 12 & 0x3F));
        byte(0x80 | (codePoint >> 6 & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t i) { return char32_t{bytes[2 * i]} | char32_t{bytes[2 * i + 1]} << 8; };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(text, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? ReplacementCharacter : unit);
        }
    }
    return text;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        AppendUtf8(result, static_cast<unsigned char>(c));
    return result;
}

std::string Windows1252ToUtf8(std::string_view text)
{
    // 0x80 to 0x9F; 0 marks the unassigned bytes.
    static constexpr char16_t High[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool mapped = byte >= 0x80 && byte <= 0x9F && High[byte - 0x80] != 0;
        AppendUtf8(result, mapped ? High[byte - 0x80] : byte);
    }
    return result;
}

#ifdef _WIN32
std::u16string AnsiToUtf16(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}
#endif

std::string AnsiToUtf8(std::string_view text)
{
#ifdef _WIN32
    return Utf16ToUtf8(AnsiToUtf16(text));
#else
    return Windows1252ToUtf8(text);
#endif
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return Utf16LeToUtf8(bytes);
}

namespace {

// The code point of the UTF-8 sequence at text[at], and its length; a length
// of 0 when no well-formed sequence starts there (overlong forms, surrogates
// and values past U+10FFFF included).
std::pair<char32_t, std::size_t> Utf8SequenceAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size())
        return {0, 0};
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return {0, 0};
        codePoint = codePoint << 6 | (byte(at + i) & 0x3F);
    }
    constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < Smallest[length] || codePoint > 0x10FFFF || IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint))
        return {0, 0};
    return {codePoint, length};
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        auto [codePoint, length] = Utf8SequenceAt(text, at);
        if (length == 0) {
            codePoint = ReplacementCharacter;
            length = 1;
        }
        if (codePoint >= 0x10000) {
            result += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            result += static_cast<char16_t>(codePoint);
        }
        at += length;
    }
    return result;
}

std::string ValidUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto [codePoint, length] = Utf8SequenceAt(text, at);
        if (length == 0) {
            AppendUtf8(result, ReplacementCharacter);
            ++at;
        } else {
            result.append(text.substr(at, length));
            at += length;
        }
    }
    return result;
}
