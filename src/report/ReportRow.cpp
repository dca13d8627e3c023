#include "report/ReportRow.h"

#include <cstdio>

#include "base/TextEncoding.h"
#include "history/FileTime.h"

ReportRow MakeReportRow(const TStartItem& item, const std::optional<std::string>& source,
                        const std::optional<std::string>& user)
{
    ReportRow row;
    if (source)
        row.Source = ValidUtf8(*source);
    if (user)
        row.User = ValidUtf8(*user);
    row.SubKey = ValidUtf8(item.SubKey);
    row.Layout = static_cast<int>(item.Layout);
    row.StoredName = ValidUtf8(item.StoredName);
    row.FileName = ValidUtf8(item.FileName);
    row.Kind = StartItemTypeToStr(item.ItemType);
    row.RunCount = item.ExecCount;
    if (item.Layout == UserAssistLayout::Current) {
        row.FocusCount = item.FocusCount;
        row.FocusTimeMs = item.FocusTime;
    }
    row.LastRun = UtcTimeText(item.LastExecutedFileTime);
    row.LastRunFileTime = item.LastExecutedFileTime;
    row.SeededByWindows = item.SeededByWindows;
    if (!item.PairedWith.empty())
        row.PairedWith = ValidUtf8(item.PairedWith);
    row.CounterResets = item.CounterResets;
    if (!item.Note.empty())
        row.Note = ValidUtf8(item.Note);
    return row;
}

std::optional<std::string> UtcTimeText(std::uint64_t fileTime)
{
    DateTimeParts parts;
    if (fileTime == 0 || !FileTimeToCalendar(MakeFileTime(fileTime), parts))
        return std::nullopt;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.Year, parts.Month, parts.Day,
                  parts.Hour, parts.Minute, parts.Second, parts.Millisecond);
    return std::string(text);
}

std::string DurationText(std::uint32_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u.%03u", milliseconds / 3'600'000, milliseconds / 60'000 % 60,
                  milliseconds / 1000 % 60, milliseconds % 1000);
    return text;
}

std::string NumberOr(const std::optional<std::uint32_t>& number, const std::string& none)
{
    return number ? std::to_string(*number) : none;
}

std::string PrintableLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return line;
}
