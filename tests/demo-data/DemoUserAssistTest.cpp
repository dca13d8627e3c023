#include "DemoUserAssist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "HistoryEntries.h"

namespace {

std::vector<TStartItem> ReadArea(const UserAssistArea& area)
{
    MemoryRegistrySource registry;
    ScopedRegistrySource use(registry);
    WriteUserAssistArea(registry, area);
    return ReadHistoryEntries();
}

int CountLaterThan(const std::vector<TStartItem>& items, TDateTime threshold)
{
    int count = 0;
    for (const TStartItem& item : items)
        count += item.LastExecuted > threshold;
    return count;
}

std::string Describe(const DateTimeParts& now)
{
    return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EncodeDateTime(now));
}

// Set-up moments at the edges of days, months and years.
const DateTimeParts SetupMoments[] = {
    {2026, 1, 1, 0, 0, 0, 0},        {2026, 1, 1, 0, 0, 2, 500}, {2026, 3, 1, 12, 0, 0, 0},
    {2026, 12, 31, 23, 59, 59, 999}, {2024, 2, 29, 6, 30, 0, 0}, {2026, 6, 15, 0, 30, 0, 0},
    {2026, 12, 8, 17, 21, 28, 0},
};

TEST(DemoUserAssistArea, GivesEveryDateFilterSomethingAndShowAllMore)
{
    for (const DateTimeParts& now : SetupMoments) {
        SCOPED_TRACE(Describe(now));
        const std::vector<TStartItem> items = ReadArea(MakeDemoUserAssistArea(now));
        const TDateTime today = EncodeDate(now.Year, now.Month, now.Day);
        const int listedToday = CountLaterThan(items, today);
        const int listedLast3Days = CountLaterThan(items, today - 3);
        const int listedLast7Days = CountLaterThan(items, today - 7);
        const int listedThisMonth = CountLaterThan(items, EncodeDate(now.Year, now.Month, 1));
        const int listedThisYear = CountLaterThan(items, EncodeDate(now.Year, 1, 1));
        EXPECT_GT(listedToday, 0);
        EXPECT_GT(listedLast3Days, listedToday);
        EXPECT_GT(listedLast7Days, listedLast3Days);
        EXPECT_GT(listedThisMonth, 0);
        EXPECT_GT(listedThisYear, 0);
        EXPECT_GT(static_cast<int>(items.size()), listedThisYear);
        const TDateTime latest = std::max(EncodeDateTime(now), today + EncodeTime(0, 0, 0, 1));
        EXPECT_EQ(CountLaterThan(items, latest), 0) << "nothing runs after now";
    }
}

TEST(DemoUserAssistArea, HoldsTheVarietyTheViewerShows)
{
    const DateTimeParts now{2026, 12, 8, 17, 21, 28, 0};
    const UserAssistArea area = MakeDemoUserAssistArea(now);
    std::size_t values = 0;
    bool subKeyWithoutCount = false;
    for (const UserAssistSubKey& subKey : area) {
        values += subKey.Values.size();
        subKeyWithoutCount |= !subKey.HasCountKey;
        std::set<std::string> names;
        for (const UserAssistFixtureValue& value : subKey.Values)
            EXPECT_TRUE(names.insert(Rot13(value.DecodedName)).second) << "written twice: " << value.DecodedName;
    }
    EXPECT_TRUE(subKeyWithoutCount);
    EXPECT_EQ(area[1].Name, ToolbarSubKey);
    EXPECT_EQ(area[2].Name, StartMenuSubKey);

    const std::vector<TStartItem> items = ReadArea(area);
    ASSERT_EQ(items.size(), values) << "one entry per value";
    EXPECT_GE(items.size(), 55u);
    EXPECT_LE(items.size(), 65u);
    std::set<int> kinds;
    bool startMenu = false, favorites = false, session = false, unknown = false, mixedCase = false;
    for (const TStartItem& item : items) {
        kinds.insert(item.ItemType);
        startMenu |= item.FileName.find("[Start Menu]") == 0;
        favorites |= item.FileName.find("[Favorites]") == 0;
        session |= item.FileName == "UEME_CTLSESSION" && item.LastExecutedText == "No Data";
        unknown |= item.LastExecutedText == "Unknown";
    }
    for (const UserAssistSubKey& subKey : area)
        for (const UserAssistFixtureValue& value : subKey.Values)
            mixedCase |= value.DecodedName.rfind("ueme_", 0) == 0 || value.DecodedName.rfind("Ueme_", 0) == 0;
    EXPECT_EQ(kinds.size(), 8u) << "every kind";
    EXPECT_TRUE(startMenu && favorites && session && unknown && mixedCase);
}

TEST(DemoUserAssistArea, ShowsAWindows10UserBesideAWindowsXpOne)
{
    for (const DateTimeParts& now : SetupMoments) {
        SCOPED_TRACE(Describe(now));
        std::vector<TStartItem> current;
        int classic = 0;
        for (const TStartItem& item : ReadArea(MakeDemoUserAssistArea(now))) {
            if (item.Layout == UserAssistLayout::Current)
                current.push_back(item);
            else
                ++classic;
        }
        // The classic subkeys come first: the list's first screen of about 30
        // rows must reach the current ones.
        EXPECT_GE(classic, 15);
        EXPECT_LE(classic, 25);
        EXPECT_GE(current.size(), 30u);
        const TDateTime today = EncodeDate(now.Year, now.Month, now.Day);
        for (const TDateTime threshold :
             {today, today - 3, today - 7, EncodeDate(now.Year, now.Month, 1), EncodeDate(now.Year, 1, 1)})
            EXPECT_GT(CountLaterThan(current, threshold), 0) << threshold;
    }

    std::vector<TStartItem> current;
    for (const TStartItem& item : ReadArea(MakeDemoUserAssistArea({2026, 12, 8, 17, 21, 28, 0})))
        if (item.Layout == UserAssistLayout::Current)
            current.push_back(item);
    const auto has = [&](auto predicate) { return std::any_of(current.begin(), current.end(), predicate); };
    for (const std::string prefix : {"[System]\\", "[ProgramFilesX64]\\", "[CommonPrograms]\\", "[UserPinned]\\",
                                     "[Start Menu]\\", "C:\\", "D:\\", "Microsoft.Windows.Explorer"})
        EXPECT_TRUE(has([&](const TStartItem& item) { return item.FileName.starts_with(prefix); })) << prefix;
    EXPECT_TRUE(has([](const TStartItem& item) {
        return item.ItemType == sitSession && item.ExecCount > 0 && item.FocusTime > 0;
    })) << "a session value with the key's totals";
    EXPECT_TRUE(has([](const TStartItem& item) { return item.FileName == "ctor"; })) << "the marker";
    EXPECT_TRUE(has([](const TStartItem& item) {
        return item.ItemType == sitExecutable && item.LastExecutedText == "Unknown";
    })) << "an entry without a time";
}

TEST(SyntheticUserAssistArea, WritesTheAskedNumberOfValuesOfEveryKindBeforeToday)
{
    const DateTimeParts now{2026, 12, 8, 17, 21, 28, 0};
    const UserAssistArea area = MakeSyntheticUserAssistArea(1000, now);
    ASSERT_EQ(area.size(), 1u);
    const std::vector<TStartItem> items = ReadArea(area);
    ASSERT_EQ(items.size(), 1000u);
    std::set<int> kinds;
    for (const TStartItem& item : items)
        kinds.insert(item.ItemType);
    EXPECT_EQ(kinds.size(), 7u) << "every kind but the session";
    const TDateTime today = EncodeDate(now.Year, now.Month, now.Day);
    EXPECT_EQ(CountLaterThan(items, today), 0);
    EXPECT_EQ(CountLaterThan(items, today - 401), 1000);
    EXPECT_TRUE(ReadArea(MakeSyntheticUserAssistArea(0, now)).empty());

    const std::vector<TStartItem> current = ReadArea(MakeSyntheticUserAssistArea(1000, now, UserAssistLayout::Current));
    ASSERT_EQ(current.size(), 1000u);
    EXPECT_TRUE(std::all_of(current.begin(), current.end(), [](const TStartItem& item) {
        return item.Layout == UserAssistLayout::Current && item.ItemType == sitExecutable;
    }));
    EXPECT_EQ(CountLaterThan(current, today), 0);
    EXPECT_EQ(CountLaterThan(current, today - 401), 1000);
}

}  // namespace
