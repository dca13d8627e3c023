#include <cctype>
#include <cstdio>
#include <string_view>

#include "support/DateTime.h"

namespace {

std::string Padded(int number, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, number);
    return text;
}

// Length of the run of the same letter (either case) starting at `at`.
std::size_t RunLength(const std::string& pattern, std::size_t at)
{
    const int letter = std::tolower(static_cast<unsigned char>(pattern[at]));
    std::size_t end = at;
    while (end < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[end])) == letter)
        ++end;
    return end - at;
}

}  // namespace

std::string FormatDateTime(const std::string& pattern, TDateTime value)
{
    const DateTimeParts parts = DecodeDateTime(value);
    const TFormatSettings& settings = FormatSettings();
    std::string result;
    bool afterHour = false;  // "m" means minutes right after an hour token

    for (std::size_t at = 0; at < pattern.size();) {
        const char c = pattern[at];
        const int letter = std::tolower(static_cast<unsigned char>(c));
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, at + 1);
            const std::size_t end = close == std::string::npos ? pattern.size() : close;
            result.append(pattern, at + 1, end - at - 1);
            at = end == pattern.size() ? end : end + 1;
            continue;
        }
        if (c == '/' || c == ':') {
            result += c == '/' ? settings.DateSeparator : settings.TimeSeparator;
            ++at;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(c)) ||
            std::string_view("dmyhnsz").find(static_cast<char>(letter)) == std::string_view::npos) {
            result += c;
            ++at;
            continue;
        }

        const std::size_t run = RunLength(pattern, at);
        const bool wide = run >= 2;
        switch (letter) {
        case 'd': result += Padded(parts.Day, wide ? 2 : 1); break;
        case 'm':
            if (afterHour && run <= 2)
                result += Padded(parts.Minute, wide ? 2 : 1);
            else if (run >= 3)
                result += settings.LongMonthNames[parts.Month - 1];
            else
                result += Padded(parts.Month, wide ? 2 : 1);
            break;
        case 'y': result += run <= 2 ? Padded(parts.Year % 100, 2) : Padded(parts.Year, 4); break;
        case 'h': result += Padded(parts.Hour, wide ? 2 : 1); break;
        case 'n': result += Padded(parts.Minute, wide ? 2 : 1); break;
        case 's': result += Padded(parts.Second, wide ? 2 : 1); break;
        case 'z': result += Padded(parts.Millisecond, run >= 3 ? 3 : 1); break;
        }
        afterHour = letter == 'h';
        at += run;
    }
    return result;
}
