#pragma once
// Case rules that touch only the 26 ASCII letters: the registry's name
// matching, the reader's prefix table and the viewer's text filter all leave
// code-page letters as they are, whatever the locale says of them.
#include <algorithm>
#include <string>
#include <string_view>

constexpr char UpperAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperAsciiLetters(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), UpperAsciiLetter);
    return text;
}

constexpr bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperAsciiLetter(x) == UpperAsciiLetter(y);
           });
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameTextIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && SameTextIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}
