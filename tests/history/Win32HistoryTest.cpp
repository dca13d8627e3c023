// The UserAssist walk over the real Windows registry (Wine's under test), in a
// scratch key mapped onto HKEY_CURRENT_USER, and the calendar split against
// FileTimeToSystemTime itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "DemoUserAssist.h"
#include "ScratchRegistry.h"
#include "Win32UserAssistWriter.h"
#include "history/StartMenuHistory.h"
#include "registry/Registry.h"

namespace {

TEST(Win32History, ReadsNothingWithoutAUserAssistKey)
{
    ScratchRegistry scratch;
    TStartHistory history;
    history.ReadHistory();
    EXPECT_EQ(history.Count(), 0);
}

TEST(Win32History, ReadsTheDemoAreaWhole)
{
    ScratchRegistry scratch;
    const DateTimeParts now = DecodeDateTime(Now());
    const UserAssistArea area = MakeDemoUserAssistArea(now);
    ReplaceUserAssistArea(area);

    TStartHistory history;
    history.ReadHistory();
    std::size_t values = 0;
    for (const UserAssistSubKey& subKey : area)
        values += subKey.Values.size();
    ASSERT_EQ(static_cast<std::size_t>(history.Count()), values);
    TStartItem item;
    int sessions = 0;
    for (int i = 0; i < history.Count(); ++i) {
        history.GetItem(i, item);
        sessions += item.ItemType == sitSession;
        // A current-layout session value carries no time at all: "No Data".
        const bool timeless = item.LastExecutedText == "Unknown" ||
                              (item.ItemType == sitSession && item.Layout == UserAssistLayout::Current);
        EXPECT_EQ(timeless, item.LastExecuted == FileTimeEpoch) << item.FileName;
    }
    EXPECT_EQ(sessions, 4) << "two in the classic subkeys, two in the current ones";
    history.ReadHistory();
    EXPECT_EQ(static_cast<std::size_t>(history.Count()), values);
}

TEST(Win32History, StopsAtAValueTooLongForTheRecord)
{
    ScratchRegistry scratch;
    // Named so that they sort, and so list, in this order.
    for (const char* name : {"UEME_RUNPATH:C:\\a1.exe", "UEME_RUNPATH:C:\\a2.exe", "UEME_RUNPATH:C:\\a3.exe"})
        WriteUserAssistValue(StartMenuSubKey, MakeUserAssistValue(name, 1, MakeFileTime(1)));
    const std::string badName = "UEME_RUNPATH:C:\\a4.exe";
    WriteUserAssistValue(StartMenuSubKey, {badName, REG_BINARY, std::vector<std::uint8_t>(17, 1)});
    WriteUserAssistValue(StartMenuSubKey, MakeUserAssistValue("UEME_RUNPATH:C:\\a5.exe", 1, MakeFileTime(1)));

    TStartHistory history;
    try {
        history.ReadHistory();
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "Invalid data type for '" + Rot13(badName) + "'");
    }
    EXPECT_EQ(history.Count(), 3);
}

TEST(Win32History, RefusesTextAndNumberValuesByTheirRealTypes)
{
    for (const DWORD type : {DWORD{REG_SZ}, DWORD{REG_EXPAND_SZ}, DWORD{REG_DWORD}}) {
        ScratchRegistry scratch;
        WriteUserAssistValue(StartMenuSubKey, {"UEME_RUNPATH:C:\\x.exe", type, {'1', '2', '3', 0}});
        TStartHistory history;
        EXPECT_THROW(history.ReadHistory(), ERegistryException) << type;
        EXPECT_EQ(history.Count(), 0);
    }
}

TEST(FileTimeToCalendar, MatchesFileTimeToSystemTime)
{
    // Every field boundary near the ends of the range and a spread in between.
    std::vector<std::uint64_t> times = {0,
                                        1,
                                        9'999,
                                        10'000,
                                        864'000'000'000 - 1,
                                        0x7FFFFFFFFFFFFFFF,
                                        0x7FFFFFFFFFFFFFFF - 10'000,
                                        0x8000000000000000,
                                        0xFFFFFFFFFFFFFFFF};
    std::uint64_t state = 0x9E3779B97F4A7C15;
    for (int i = 0; i < 200'000; ++i) {
        state = state * 6364136223846793005 + 1442695040888963407;  // a fixed pseudo-random walk
        times.push_back(i % 2 ? state >> 1 : state >> (1 + i % 40));
    }
    for (const std::uint64_t ticks : times) {
        const TFileTime time = MakeFileTime(ticks);
        const FILETIME fileTime{time.dwLowDateTime, time.dwHighDateTime};
        SYSTEMTIME system;
        DateTimeParts parts;
        const bool splitBySystem = FileTimeToSystemTime(&fileTime, &system) != FALSE;
        ASSERT_EQ(FileTimeToCalendar(time, parts), splitBySystem) << ticks;
        if (!splitBySystem)
            continue;
        ASSERT_EQ(
            std::tie(parts.Year, parts.Month, parts.Day, parts.Hour, parts.Minute, parts.Second, parts.Millisecond),
            std::make_tuple(int{system.wYear}, int{system.wMonth}, int{system.wDay}, int{system.wHour},
                            int{system.wMinute}, int{system.wSecond}, int{system.wMilliseconds}))
            << ticks;
    }
}

}  // namespace
