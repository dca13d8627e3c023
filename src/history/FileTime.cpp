#include "history/FileTime.h"

namespace {

constexpr std::uint64_t TicksPerMillisecond = 10'000;
constexpr std::uint64_t MillisecondsPerDay = 86'400'000;
constexpr std::int64_t FileTimeEpochDayNumber = -109205;  // 1 January 1601

}  // namespace

bool FileTimeToCalendar(TFileTime time, DateTimeParts& parts)
{
    const std::uint64_t ticks = FileTimeTicks(time);
    if (ticks >> 63)
        return false;
    const std::uint64_t ms = ticks / TicksPerMillisecond;
    const std::uint64_t msOfDay = ms % MillisecondsPerDay;
    parts = DateOfDayNumber(FileTimeEpochDayNumber + static_cast<std::int64_t>(ms / MillisecondsPerDay));
    parts.Hour = static_cast<int>(msOfDay / 3'600'000);
    parts.Minute = static_cast<int>(msOfDay / 60'000 % 60);
    parts.Second = static_cast<int>(msOfDay / 1000 % 60);
    parts.Millisecond = static_cast<int>(msOfDay % 1000);
    return true;
}

TFileTime CalendarToFileTime(const DateTimeParts& parts)
{
    EncodeDateTime(parts);  // validates the figures
    if (parts.Year < 1601)
        throw EConvertError("Invalid argument to date encode");
    const auto days = static_cast<std::uint64_t>(DayNumberOf(parts.Year, parts.Month, parts.Day) - FileTimeEpochDayNumber);
    const std::uint64_t ms = days * MillisecondsPerDay +
                             ((parts.Hour * 60ULL + parts.Minute) * 60 + parts.Second) * 1000 + parts.Millisecond;
    if (ms > (UINT64_MAX >> 1) / TicksPerMillisecond)
        throw EConvertError("Invalid argument to date encode");
    return MakeFileTime(ms * TicksPerMillisecond);
}

TDateTime FileTimeToDateTime(TFileTime time)
{
    DateTimeParts parts;
    if (!FileTimeToCalendar(time, parts))
        return FileTimeEpoch;
    return EncodeDateTime(parts);
}
