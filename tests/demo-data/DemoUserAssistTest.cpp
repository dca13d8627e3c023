#include "DemoUserAssist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "history/StartMenuHistory.h"

namespace {

std::vector<TStartItem> ReadArea(const UserAssistArea& area)
{
    MemoryRegistrySource registry;
    ScopedRegistrySource use(registry);
    WriteUserAssistArea(registry, area);
    TStartHistory history;
    history.ReadHistory();
    std::vector<TStartItem> items(static_cast<std::size_t>(history.Count()));
    for (int i = 0; i < history.Count(); ++i)
        history.GetItem(i, items[static_cast<std::size_t>(i)]);
    return items;
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
    {2026, 1, 1, 0, 0, 0, 0},      {2026, 1, 1, 0, 0, 2, 500}, {2026, 3, 1, 12, 0, 0, 0},
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
}

}  // namespace
