#include "DemoUserAssist.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int NoTime = -1;  // a record whose time is zero
constexpr std::int64_t MillisecondsPerDay = 86'400'000;

struct DemoEntry {
    int SubKey;  // index into the subkeys with a "Count" key
    const char* Name;
    std::int32_t ExecCount;
    int DaysAgo;  // 0: today; NoTime: no time recorded
    int Hour, Minute, Second;
};

// Today's entries scale their clock time onto the part of today that has
// passed, so they fall after today's midnight and never after now (unless now
// is midnight itself: then they fall a millisecond after it).
constexpr DemoEntry DemoEntries[] = {
    {0, "UEME_CTLSESSION", 47, 0, 9, 0, 0},
    {0, "UEME_CTLCUACount:ctor", 6, NoTime, 0, 0, 0},
    {0, "UEME_RUNPATH:C:\\Program Files\\Mozilla Firefox\\firefox.exe", 112, 0, 14, 30, 12},
    {0, "UEME_RUNPIDL:%csidl2%\\Mozilla Firefox\\Mozilla Firefox.lnk", 58, 0, 14, 30, 11},
    {0, "UEME_RUNPATH:C:\\WINDOWS\\system32\\notepad.exe", 34, 0, 16, 45, 3},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Notepad.lnk", 21, 1, 10, 12, 44},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Calculator.lnk", 17, 2, 15, 3, 9},
    {0, "UEME_RUNPATH:C:\\WINDOWS\\system32\\calc.exe", 17, 2, 15, 3, 10},
    {0, "UEME_RUNPIDL:%csidl2%\\Microsoft Office\\Microsoft Office Word 2003.lnk", 76, 1, 8, 47, 21},
    {0, "UEME_RUNPATH:C:\\Program Files\\Microsoft Office\\OFFICE11\\WINWORD.EXE", 81, 1, 8, 47, 22},
    {0, "UEME_RUNPIDL:%csidl2%\\Microsoft Office\\Microsoft Office Excel 2003.lnk", 39, 3, 13, 20, 5},
    {0, "UEME_RUNPATH:C:\\Program Files\\Microsoft Office\\OFFICE11\\EXCEL.EXE", 41, 3, 13, 20, 6},
    {0, "UEME_RUNPIDL:%csidl2%\\Microsoft Office\\Microsoft Office Outlook 2003.lnk", 204, 0, 8, 5, 0},
    {0, "UEME_RUNPATH:C:\\Program Files\\Microsoft Office\\OFFICE11\\OUTLOOK.EXE", 210, 0, 8, 5, 1},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Command Prompt.lnk", 12, 5, 22, 41, 17},
    {0, "UEME_RUNWMCMD:cmd", 25, 4, 9, 30, 0},
    {0, "UEME_RUNWMCMD:regedit", 9, 6, 17, 12, 40},
    {0, "UEME_RUNPATH:C:\\WINDOWS\\regedit.exe", 9, 6, 17, 12, 41},
    {0, "UEME_RUNWMCMD:\\\\fileserver\\projects", 7, 12, 10, 0, 15},
    {0, "UEME_RUNWMCMD:msconfig", 6, 45, 19, 5, 55},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\desk.cpl\",Display", 8, 9, 20, 17, 33},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\appwiz.cpl\",Add or Remove Programs", 11, 20, 14, 44, 2},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\timedate.cpl\",Date and Time", 6, 150, 7, 58, 12},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\sysdm.cpl\",System", 7, 33, 12, 9, 0},
    {0, "UEME_UIHOTKEY:%csidl2%\\Accessories\\Command Prompt.lnk", 6, 27, 23, 10, 10},
    {0, "UEME_UIHOTKEY:%csidl2%\\Accessories\\Paint.lnk", 6, 400, 16, 26, 36},
    {0, "ueme_runpath:C:\\Program Files\\7-Zip\\7zFM.exe", 15, 8, 10, 45, 30},
    {0, "Ueme_RunPidl:%csidl2%\\7-Zip\\7-Zip File Manager.lnk", 13, 8, 10, 45, 29},
    {0, "UEME_RUNPIDL:%csidl6%\\Links\\Windows Media.url", 6, 60, 18, 30, 0},
    {0, "UEME_RUNPIDL:%csidl6%\\MSN.com.url", 8, 95, 21, 14, 37},
    {0, "UEME_RUNPATH:C:\\Program Files\\Adobe\\Acrobat 7.0\\Reader\\AcroRd32.exe", 29, 14, 9, 12, 11},
    {0, "UEME_RUNPIDL:%csidl2%\\Adobe Reader 7.0.lnk", 26, 14, 9, 12, 10},
    {0, "UEME_RUNPATH:C:\\Program Files\\Windows Media Player\\wmplayer.exe", 44, 1, 21, 3, 52},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Entertainment\\Windows Media Player.lnk", 30, 1, 21, 3, 51},
    {0, "UEME_RUNPATH:C:\\Program Files\\Messenger\\msmsgs.exe", 6, 700, 12, 0, 0},
    {0, "UEME_RUNPATH:C:\\Program Files\\Internet Explorer\\iexplore.exe", 96, 3, 7, 45, 19},
    {0, "UEME_RUNPIDL:C:\\Documents and Settings\\Alice\\Desktop\\Budget 2006.xls", 18, 10, 16, 2, 33},
    {0, "UEME_RUNPATH:C:\\Program Files\\Tallyglass\\Tallyglass.exe", 6, 0, 12, 0, 0},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\System Tools\\Disk Defragmenter.lnk", 6, 250, 2, 15, 48},
    {0, "UEME_RUNPATH:C:\\WINDOWS\\system32\\mmc.exe", 6, 250, 2, 15, 49},
    {0, "UEME_UISCUT", 12, 2, 18, 20, 0},
    {0, "UEME_UIQCUT", 9, 19, 11, 11, 11},
    {0, "UEME_RUNPIDL:::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 31, 0, 10, 20, 0},
    {0, "UEME_RUNPIDL:%csidl2%\\Games\\Solitaire.lnk", 88, 2, 12, 30, 30},
    {0, "UEME_RUNPIDL:%CSIDL2%\\Games\\FreeCell.lnk", 14, 520, 20, 0, 5},
    {1, "UEME_CTLSESSION", 47, 0, 9, 0, 0},
    {1, "UEME_CTLCUACount:ctor", 6, NoTime, 0, 0, 0},
    {1, "UEME_UITOOLBAR:0x1,120,120", 6, 5, 11, 2, 3},
    {1, "UEME_UITOOLBAR:0x1,121", 9, 30, 15, 16, 17},
    {1, "UEME_UIQCUT", 14, 2, 9, 9, 9},
    {1, "UEME_UISCUT", 11, 7, 8, 0, 0},
    {1, "UEME_RUNPIDL:%csidl2%\\Internet Explorer.lnk", 64, 0, 13, 37, 0},
    {1, "UEME_RUNPATH:C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", 70, 0, 13, 37, 1},
    {1, "UEME_RUNPIDL:%csidl6%\\Links\\Free Hotmail.url", 6, 180, 19, 40, 0},
    {1, "UEME_RUNPIDL:%csidl6%\\Links\\Customize Links.url", 6, 365, 10, 10, 10},
    {1, "UEME_RUNWMCMD:http://www.fernwick-software.example/", 6, 11, 22, 22, 22},
    {1, "UEME_RUNPIDL:%csidl2%\\Outlook Express.lnk", 19, 75, 7, 30, 0},
    {1, "UEME_RUNPATH:C:\\Program Files\\Outlook Express\\msimn.exe", 22, 75, 7, 30, 1},
    {1, "UEME_RUNCPL:inetcpl.cpl", 6, 120, 14, 0, 0},
    {1, "UEME_UIHOTKEY:%csidl2%\\Internet Explorer.lnk", 6, 3, 18, 45, 0},
};

// The local wall-clock figures of a time, stored as if they were a file time.
TFileTime LocalFileTime(std::int64_t dayNumber, std::int64_t msOfDay)
{
    DateTimeParts parts = DateOfDayNumber(dayNumber);
    parts.Hour = static_cast<int>(msOfDay / 3'600'000);
    parts.Minute = static_cast<int>(msOfDay / 60'000 % 60);
    parts.Second = static_cast<int>(msOfDay / 1000 % 60);
    parts.Millisecond = static_cast<int>(msOfDay % 1000);
    return CalendarToFileTime(parts);
}

TFileTime DemoTime(const DemoEntry& entry, const DateTimeParts& now)
{
    if (entry.DaysAgo == NoTime)
        return {};
    const std::int64_t today = DayNumberOf(now.Year, now.Month, now.Day);
    const std::int64_t clock = ((entry.Hour * 60LL + entry.Minute) * 60 + entry.Second) * 1000;
    if (entry.DaysAgo > 0)
        return LocalFileTime(today - entry.DaysAgo, clock);
    const std::int64_t elapsed =
        ((now.Hour * 60LL + now.Minute) * 60 + now.Second) * 1000 + now.Millisecond;
    const std::int64_t earliest = 1;  // a millisecond after midnight, even when now is midnight
    const std::int64_t span = std::max<std::int64_t>(elapsed - earliest, 0);
    return LocalFileTime(today, earliest + span * clock / MillisecondsPerDay);
}

}  // namespace

UserAssistArea MakeDemoUserAssistArea(const DateTimeParts& now)
{
    UserAssistArea area = {{SubKeyWithoutCount, false, {}}, {ToolbarSubKey, true, {}}, {StartMenuSubKey, true, {}}};
    UserAssistSubKey* const countKeys[] = {&area[2], &area[1]};
    for (const DemoEntry& entry : DemoEntries)
        countKeys[entry.SubKey]->Values.push_back(
            MakeUserAssistValue(entry.Name, entry.ExecCount, DemoTime(entry, now)));
    return area;
}

UserAssistArea MakeSyntheticUserAssistArea(int count, const DateTimeParts& now)
{
    static constexpr const char* Patterns[] = {
        "UEME_RUNPATH:C:\\Program Files\\Bench %06d\\program%06d.exe",
        "UEME_RUNPIDL:%%csidl2%%\\Bench %06d\\Program %06d.lnk",
        "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\bench%06d.cpl\",Bench %06d",
        "UEME_RUNWMCMD:bench%06d --run %06d",
        "UEME_UIHOTKEY:%%csidl6%%\\Bench %06d\\Link %06d.url",
        "UEME_UITOOLBAR:0x%06d,%06d",
        "UEME_UISCUT:%06d-%06d",
    };
    const std::int64_t today = DayNumberOf(now.Year, now.Month, now.Day);
    UserAssistSubKey subKey{StartMenuSubKey, true, {}};
    subKey.Values.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        char name[160];
        std::snprintf(name, sizeof name, Patterns[i % std::size(Patterns)], i, i);
        // Spread over 400 days with a time of day that varies from value to value.
        const std::int64_t daysAgo = 1 + i % 400;
        const std::int64_t msOfDay = (static_cast<std::int64_t>(i) * 7'919'993) % MillisecondsPerDay;
        subKey.Values.push_back(MakeUserAssistValue(name, 6 + i % 97, LocalFileTime(today - daysAgo, msOfDay)));
    }
    return {subKey};
}
