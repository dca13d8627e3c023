#include "history/StartMenuHistory.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t TicksPerMillisecond = 10'000;
constexpr std::uint64_t TopBit = 1ULL << 63;

TFileTime FileTimeOf(const DateTimeParts& parts, std::uint64_t extraTicks = 0)
{
    return MakeFileTime(FileTimeTicks(CalendarToFileTime(parts)) + extraTicks);
}

TEST(FileTimeToDateTime, GivesTheStoredCalendarFigures)
{
    EXPECT_DOUBLE_EQ(FileTimeToDateTime({}), -109205.0);
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(MakeFileTime(9'999)), -109205.0) << "below a millisecond";
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(MakeFileTime(864'000'000'000)), -109204.0);
    // 31 January 2006 17:05:09.999 and the 100 ns ticks below the next millisecond.
    const TDateTime value = FileTimeToDateTime(FileTimeOf({2006, 1, 31, 17, 5, 9, 999}, 9'999));
    EXPECT_DOUBLE_EQ(value, EncodeDate(2006, 1, 31) + EncodeTime(17, 5, 9, 999));
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(FileTimeOf({1899, 12, 29, 18, 0, 0, 0})), -1.75);
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(FileTimeOf({1899, 12, 30, 6, 0, 0, 0})), 0.25);
}

TEST(FileTimeToCalendar, SplitsKnownTimes)
{
    const struct {
        std::uint64_t Ticks;
        DateTimeParts Parts;
    } cases[] = {
        {0, {1601, 1, 1, 0, 0, 0, 0}},
        {116'444'736'000'000'000, {1970, 1, 1, 0, 0, 0, 0}},
        {0x7FFFFFFFFFFFFFFF, {30828, 9, 14, 2, 48, 5, 477}},  // the last time FileTimeToSystemTime splits
        {126'200'000'000'000'000, {2000, 11, 29, 19, 33, 20, 0}},
        {125'911'584'000'000'000 + 9'999, {2000, 1, 1, 0, 0, 0, 0}},  // within a millisecond: truncated
    };
    for (const auto& test : cases) {
        DateTimeParts parts;
        ASSERT_TRUE(FileTimeToCalendar(MakeFileTime(test.Ticks), parts)) << test.Ticks;
        const DateTimeParts& e = test.Parts;
        EXPECT_EQ(std::tie(parts.Year, parts.Month, parts.Day, parts.Hour, parts.Minute, parts.Second,
                           parts.Millisecond),
                  std::tie(e.Year, e.Month, e.Day, e.Hour, e.Minute, e.Second, e.Millisecond))
            << test.Ticks;
    }
}

TEST(FileTimeToCalendar, RoundTripsWithCalendarToFileTime)
{
    // A spread of times from 1601 to the last year a file time reaches.
    for (std::uint64_t ticks = 0; ticks < TopBit - TopBit / 997; ticks += TopBit / 997 + 12'345'677) {
        DateTimeParts parts;
        ASSERT_TRUE(FileTimeToCalendar(MakeFileTime(ticks), parts));
        EXPECT_EQ(FileTimeTicks(CalendarToFileTime(parts)), ticks - ticks % TicksPerMillisecond) << ticks;
    }
    EXPECT_THROW(CalendarToFileTime({1600, 12, 31, 23, 59, 59, 999}), EConvertError);
    EXPECT_THROW(CalendarToFileTime({30828, 9, 14, 2, 48, 5, 478}), EConvertError);
}

TEST(FileTimeToDateTime, TreatsTimesWithTheTopBitSetAsNoTime)
{
    for (const std::uint64_t ticks : {TopBit, TopBit | 1, ~std::uint64_t{0}, TopBit | 116'444'736'000'000'000}) {
        DateTimeParts parts{1, 2, 3, 4, 5, 6, 7};
        EXPECT_FALSE(FileTimeToCalendar(MakeFileTime(ticks), parts));
        EXPECT_EQ(parts.Year, 1) << "fields untouched";
        EXPECT_DOUBLE_EQ(FileTimeToDateTime(MakeFileTime(ticks)), FileTimeEpoch);
        EXPECT_EQ(LastExecutedTextOf(sitExecutable, MakeFileTime(ticks)), "Unknown");
    }
}

TEST(LastExecutedTextOf, FollowsTheOrderOfTheRules)
{
    const TFileTime stored = FileTimeOf({2006, 1, 31, 17, 5, 9, 999});
    EXPECT_EQ(LastExecutedTextOf(sitExecutable, stored), "01/31/2006 17:05:09");
    EXPECT_EQ(LastExecutedTextOf(sitOther, {}), "Unknown");
    EXPECT_EQ(LastExecutedTextOf(sitSession, stored), "No Data");
    EXPECT_EQ(LastExecutedTextOf(sitSession, {}), "No Data");
    EXPECT_EQ(LastExecutedTextOf(sitSession, MakeFileTime(TopBit)), "No Data");
    EXPECT_EQ(LastExecutedTextOf(sitShortcut, MakeFileTime(1)), "01/01/1601 00:00:00");
}

TEST(LastExecutedTextOf, UsesTheUsersSeparators)
{
    const TFormatSettings saved = FormatSettings();
    FormatSettings().DateSeparator = std::string(".");  // not a literal: GCC 12 warns wrongly (-Wrestrict)
    EXPECT_EQ(LastExecutedTextOf(sitExecutable, FileTimeOf({2006, 1, 31, 17, 5, 9, 999})), "01.31.2006 17:05:09");
    FormatSettings() = saved;
}

}  // namespace
