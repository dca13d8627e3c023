#include "DemoUserAssist.h"

#include <algorithm>
#include <cstdio>
#include <span>

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
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Calculator.lnk", 17, 2, 15, 3, 9},
    {0, "UEME_RUNPIDL:%csidl2%\\Microsoft Office\\Microsoft Office Word 2003.lnk", 76, 1, 8, 47, 21},
    {0, "UEME_RUNPATH:C:\\Program Files\\Microsoft Office\\OFFICE11\\WINWORD.EXE", 81, 1, 8, 47, 22},
    {0, "UEME_RUNPIDL:%csidl2%\\Microsoft Office\\Microsoft Office Outlook 2003.lnk", 204, 0, 8, 5, 0},
    {0, "UEME_RUNPATH:C:\\Program Files\\Microsoft Office\\OFFICE11\\OUTLOOK.EXE", 210, 0, 8, 5, 1},
    {0, "UEME_RUNPIDL:%csidl2%\\Accessories\\Command Prompt.lnk", 12, 5, 22, 41, 17},
    {0, "UEME_RUNWMCMD:cmd", 25, 4, 9, 30, 0},
    {0, "UEME_RUNWMCMD:\\\\fileserver\\projects", 7, 12, 10, 0, 15},
    {0, "UEME_RUNWMCMD:msconfig", 6, 45, 19, 5, 55},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\desk.cpl\",Display", 8, 9, 20, 17, 33},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\appwiz.cpl\",Add or Remove Programs", 11, 20, 14, 44, 2},
    {0, "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\timedate.cpl\",Date and Time", 6, 150, 7, 58, 12},
    {0, "UEME_UIHOTKEY:%csidl2%\\Accessories\\Command Prompt.lnk", 6, 27, 23, 10, 10},
    {0, "UEME_UIHOTKEY:%csidl2%\\Accessories\\Paint.lnk", 6, 400, 16, 26, 36},
    {0, "ueme_runpath:C:\\Program Files\\7-Zip\\7zFM.exe", 15, 8, 10, 45, 30},
    {0, "Ueme_RunPidl:%csidl2%\\7-Zip\\7-Zip File Manager.lnk", 13, 8, 10, 45, 29},
    {0, "UEME_RUNPIDL:%csidl6%\\Links\\Windows Media.url", 6, 60, 18, 30, 0},
    {0, "UEME_RUNPATH:C:\\Program Files\\Adobe\\Acrobat 7.0\\Reader\\AcroRd32.exe", 29, 14, 9, 12, 11},
    {0, "UEME_UISCUT", 12, 2, 18, 20, 0},
    {0, "UEME_RUNPIDL:::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 31, 0, 10, 20, 0},
    {0, "UEME_RUNPIDL:%csidl2%\\Games\\Solitaire.lnk", 88, 2, 12, 30, 30},
    {0, "UEME_RUNPIDL:%CSIDL2%\\Games\\FreeCell.lnk", 14, 520, 20, 0, 5},
    {0, "UEME_RUNPATH:C:\\Program Files\\Messenger\\msmsgs.exe", 6, 700, 12, 0, 0},
    {1, "UEME_CTLSESSION", 47, 0, 9, 0, 0},
    {1, "UEME_CTLCUACount:ctor", 6, NoTime, 0, 0, 0},
    {1, "UEME_UITOOLBAR:0x1,120,120", 6, 5, 11, 2, 3},
    {1, "UEME_UIQCUT", 14, 2, 9, 9, 9},
    {1, "UEME_RUNPIDL:%csidl2%\\Internet Explorer.lnk", 64, 0, 13, 37, 0},
    {1, "UEME_RUNPIDL:%csidl6%\\Links\\Free Hotmail.url", 6, 180, 19, 40, 0},
    {1, "UEME_RUNWMCMD:http://fernwick.example/", 6, 11, 22, 22, 22},
    {1, "UEME_RUNCPL:inetcpl.cpl", 6, 120, 14, 0, 0},
    {1, "UEME_UIHOTKEY:%csidl2%\\Internet Explorer.lnk", 6, 3, 18, 45, 0},
};

// What Windows 7 to 11 record: known-folder paths, drive paths and app IDs in
// the executables' key; shortcuts, whose focus time repeats their run count,
// in the shortcuts' key.
struct CurrentDemoEntry {
    int SubKey;  // 0: executables, 1: shortcuts
    const char* Name;
    std::int32_t Runs;
    std::uint32_t FocusCount;
    std::uint32_t FocusSeconds;
    int DaysAgo, Hour, Minute, Second;
};

constexpr CurrentDemoEntry CurrentDemoEntries[] = {
    {0, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\cmd.exe", 9, 41, 2'530, 0, 10, 4, 37},
    {0, "{F38BF404-1D43-42F2-9305-67DE0B28FC23}\\explorer.exe", 3, 210, 9'840, 0, 8, 1, 12},
    {0, "{6D809377-6AF0-444B-8957-A3773F02200E}\\Mozilla Firefox\\firefox.exe", 57, 388, 71'205, 0, 13, 58, 2},
    {0, "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}\\Notepad++\\notepad++.exe", 21, 180, 6'666, 2, 22, 25, 26},
    {0, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\mspaint.exe", 2, 7, 412, 6, 17, 40, 9},
    {0, "C:\\Users\\Alice\\Downloads\\VSCodeUserSetup-x64-1.95.3.exe", 1, 3, 95, 20, 9, 15, 0},
    {0, "D:\\Tools\\Sysinternals\\procexp64.exe", 4, 12, 1'337, 5, 11, 30, 45},
    {0, "Microsoft.Windows.Explorer", 31, 520, 48'210, 0, 7, 59, 30},
    {0, "MSEdge", 12, 95, 21'430, 3, 19, 12, 8},
    {0, "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", 5, 9, 640, 9, 15, 2, 51},
    {0, "Microsoft.Office.WINWORD.EXE.15", 8, 64, 30'120, 40, 10, 0, 0},
    {0, "Microsoft.Windows.ControlPanel", 0, 23, 609, NoTime, 0, 0, 0},
    {1, "{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}\\Firefox.lnk", 14, 0, 0, 0, 13, 58, 2},
    {1, "{9E3995AB-1F9C-4F13-B827-48B24B6C7174}\\TaskBar\\File Explorer.lnk", 6, 0, 0, 0, 8, 1, 12},
    {1, "{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}\\Accessories\\Snipping Tool.lnk", 3, 0, 0, 1, 16, 20, 0},
    {1, "{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}\\Administrative Tools\\Registry Editor.lnk", 1, 0, 0, 60, 9, 2, 17},
    {1, "C:\\Users\\Public\\Desktop\\Visual Studio Code.lnk", 7, 0, 0, 20, 9, 20, 31},
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

TFileTime DemoTime(int daysAgo, int hour, int minute, int second, const DateTimeParts& now)
{
    if (daysAgo == NoTime)
        return {};
    const std::int64_t today = DayNumberOf(now.Year, now.Month, now.Day);
    const std::int64_t clock = ((hour * 60LL + minute) * 60 + second) * 1000;
    if (daysAgo > 0)
        return LocalFileTime(today - daysAgo, clock);
    const std::int64_t elapsed =
        ((now.Hour * 60LL + now.Minute) * 60 + now.Second) * 1000 + now.Millisecond;
    const std::int64_t earliest = 1;  // a millisecond after midnight, even when now is midnight
    const std::int64_t span = std::max<std::int64_t>(elapsed - earliest, 0);
    return LocalFileTime(today, earliest + span * clock / MillisecondsPerDay);
}

}  // namespace

UserAssistArea MakeDemoUserAssistArea(const DateTimeParts& now)
{
    UserAssistArea area = {{SubKeyWithoutCount, false, {}},
                           {ToolbarSubKey, true, {}},
                           {StartMenuSubKey, true, {}},
                           {ExecutablesSubKey, true, {}, CurrentLayoutVersion},
                           {ShortcutsSubKey, true, {}, CurrentLayoutVersion}};
    UserAssistSubKey* const classicKeys[] = {&area[2], &area[1]};
    for (const DemoEntry& entry : DemoEntries)
        classicKeys[entry.SubKey]->Values.push_back(MakeUserAssistValue(
            entry.Name, entry.ExecCount, DemoTime(entry.DaysAgo, entry.Hour, entry.Minute, entry.Second, now)));

    UserAssistSubKey* const currentKeys[] = {&area[3], &area[4]};
    for (const CurrentDemoEntry& entry : CurrentDemoEntries) {
        const bool shortcut = entry.SubKey == 1;
        const UserAssistRecord record{entry.Runs, DemoTime(entry.DaysAgo, entry.Hour, entry.Minute, entry.Second, now),
                                      entry.FocusCount,
                                      shortcut ? static_cast<std::uint32_t>(entry.Runs) : entry.FocusSeconds * 1000};
        currentKeys[entry.SubKey]->Values.push_back(MakeCurrentUserAssistValue(entry.Name, record));
    }
    for (UserAssistSubKey* key : currentKeys) {
        key->Values.insert(key->Values.begin(), MakeCurrentSessionValue(key->Values));
        key->Values.push_back(MakeCurrentLayoutMarker());
    }
    return area;
}

UserAssistArea MakeSyntheticUserAssistArea(int count, const DateTimeParts& now, UserAssistLayout layout)
{
    static constexpr const char* ClassicPatterns[] = {
        "UEME_RUNPATH:C:\\Program Files\\Bench %06d\\program%06d.exe",
        "UEME_RUNPIDL:%%csidl2%%\\Bench %06d\\Program %06d.lnk",
        "UEME_RUNCPL:\"C:\\WINDOWS\\system32\\bench%06d.cpl\",Bench %06d",
        "UEME_RUNWMCMD:bench%06d --run %06d",
        "UEME_UIHOTKEY:%%csidl6%%\\Bench %06d\\Link %06d.url",
        "UEME_UITOOLBAR:0x%06d,%06d",
        "UEME_UISCUT:%06d-%06d",
    };
    static constexpr const char* CurrentPatterns[] = {
        "{6D809377-6AF0-444B-8957-A3773F02200E}\\Bench %06d\\program%06d.exe",
        "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\bench%06d-%06d.exe",
        "C:\\Users\\Bench\\Downloads\\Setup %06d\\setup%06d.exe",
        "Bench.App%06d_8wekyb3d8bbwe!App%06d",
        "{F38BF404-1D43-42F2-9305-67DE0B28FC23}\\Temp\\{%06d}\\bench%06d.exe",
    };
    const bool current = layout == UserAssistLayout::Current;
    const std::span<const char* const> patterns = current ? std::span<const char* const>(CurrentPatterns)
                                                          : std::span<const char* const>(ClassicPatterns);
    const std::int64_t today = DayNumberOf(now.Year, now.Month, now.Day);
    UserAssistSubKey subKey{StartMenuSubKey, true, {}};
    if (current)
        subKey = {ExecutablesSubKey, true, {}, CurrentLayoutVersion};
    subKey.Values.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        char name[160];
        std::snprintf(name, sizeof name, patterns[static_cast<std::size_t>(i) % patterns.size()], i, i);
        // Spread over 400 days with a time of day that varies from value to value.
        const std::int64_t daysAgo = 1 + i % 400;
        const std::int64_t msOfDay = (static_cast<std::int64_t>(i) * 7'919'993) % MillisecondsPerDay;
        const UserAssistRecord record{6 + i % 97, LocalFileTime(today - daysAgo, msOfDay),
                                      static_cast<std::uint32_t>(i % 53), static_cast<std::uint32_t>(i) * 1013};
        subKey.Values.push_back(current ? MakeCurrentUserAssistValue(name, record)
                                        : MakeUserAssistValue(name, record.ExecCount, record.LastExecuted));
    }
    return {subKey};
}
