#include "support/DateTime.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::int64_t MillisecondsPerDay = 86'400'000;
// Days from 1 January 1970 back to 30 December 1899.
constexpr std::int64_t UnixEpochDayNumber = 25569;
// The first and a generous last day that DecodeDateTime accepts: 1 January of
// the year 1, and some 270,000 years on.
constexpr std::int64_t FirstDayNumber = -693593;
constexpr std::int64_t LastDayNumber = 100'000'000;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil), exact for every year.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, DateTimeParts& parts)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    parts.Day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    parts.Month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    parts.Year = static_cast<int>(yearOfEra + era * 400 + (parts.Month <= 2));
}

}  // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::int64_t DayNumberOf(int year, int month, int day)
{
    return DaysFromCivil(year, month, day) + UnixEpochDayNumber;
}

DateTimeParts DateOfDayNumber(std::int64_t dayNumber)
{
    DateTimeParts parts;
    CivilFromDays(dayNumber - UnixEpochDayNumber, parts);
    return parts;
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DayNumberOf(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / MillisecondsPerDay;
}

TDateTime EncodeDateTime(const DateTimeParts& parts)
{
    const TDateTime date = EncodeDate(parts.Year, parts.Month, parts.Day);
    const TDateTime time = EncodeTime(parts.Hour, parts.Minute, parts.Second, parts.Millisecond);
    return date >= 0 ? date + time : date - time;
}

DateTimeParts DecodeDateTime(TDateTime value)
{
    if (!std::isfinite(value) || value <= FirstDayNumber - 1 || value > LastDayNumber)
        throw EConvertError("Invalid date-time value");
    // The whole part is the day either side of zero; the time of day is the
    // distance from it, added for later days and subtracted for earlier ones.
    const double whole = std::trunc(value);
    std::int64_t dayNumber = static_cast<std::int64_t>(whole);
    std::int64_t ms = std::llround(std::fabs(value - whole) * MillisecondsPerDay);
    if (ms >= MillisecondsPerDay) {  // rounded up to the next midnight
        ms -= MillisecondsPerDay;
        ++dayNumber;
    }
    DateTimeParts parts = DateOfDayNumber(dayNumber);
    parts.Hour = static_cast<int>(ms / 3'600'000);
    parts.Minute = static_cast<int>(ms / 60'000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return parts;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}
