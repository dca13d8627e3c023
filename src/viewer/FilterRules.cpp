#include "viewer/FilterRules.h"

#include <cmath>

#include "base/AsciiCase.h"

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::optional<TDateTime> DateFilterThreshold(int choice, TDateTime now)
{
    const TDateTime today = std::floor(now);
    const DateTimeParts parts = DecodeDateTime(now);
    switch (choice) {
    case dcToday: return today;
    case dcLast3Days: return today - 3;
    case dcLast7Days: return today - 7;
    case dcThisMonth: return EncodeDate(parts.Year, parts.Month, 1);
    case dcThisYear: return EncodeDate(parts.Year, 1, 1);
    default: return std::nullopt;
    }
}

std::string NormalizeFilterText(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return UpperAsciiLetters(text.substr(first, last - first));
}

bool FileNameMatches(const std::string& fileName, const std::string& needle)
{
    return UpperAsciiLetters(fileName).find(needle) != std::string::npos;
}
