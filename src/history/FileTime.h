#pragma once
// The platform's file time (100-nanosecond intervals since 1 January 1601
// 00:00:00) and its calendar split, done here without the platform so that it
// behaves the same everywhere. It matches FileTimeToSystemTime: proleptic
// Gregorian calendar, milliseconds truncated from the 100 ns count, and times
// with the top bit set refused.
#include <cstdint>

#include "support/DateTime.h"

// As stored: low 32 bits first, then high 32 bits.
struct TFileTime {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;
};

constexpr std::uint64_t FileTimeTicks(TFileTime time)
{
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

constexpr TFileTime MakeFileTime(std::uint64_t ticks)
{
    return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

// 1 January 1601 00:00:00.000 as a date-time value.
constexpr TDateTime FileTimeEpoch = -109205.0;

// The calendar fields of a file time; false (fields untouched) for a time with
// the top bit set, which FileTimeToSystemTime refuses too.
bool FileTimeToCalendar(TFileTime time, DateTimeParts& parts);

// The file time of calendar figures from 1601 on (for writing fixtures).
// EConvertError for figures that name no date or time, or lie outside the
// file time's range (1601 to September 30828).
TFileTime CalendarToFileTime(const DateTimeParts& parts);

// The date-time value of a stored time, with the calendar figures of the time
// itself (no shift to local time). A time the calendar split refuses counts as
// no time: FileTimeEpoch, like a zero time.
TDateTime FileTimeToDateTime(TFileTime time);
