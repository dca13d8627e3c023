#include "viewer/FilterRules.h"

#include <gtest/gtest.h>

namespace {

TEST(DateFilterThreshold, EachChoiceStartsAtMidnightOfItsFirstDay)
{
    // Wednesday 8 March 2006, 16:23:48.
    const TDateTime now = EncodeDate(2006, 3, 8) + EncodeTime(16, 23, 48, 500);
    const struct {
        int Choice;
        TDateTime Threshold;
    } cases[] = {
        {dcToday, EncodeDate(2006, 3, 8)},     {dcLast3Days, EncodeDate(2006, 3, 5)},
        {dcLast7Days, EncodeDate(2006, 3, 1)}, {dcThisMonth, EncodeDate(2006, 3, 1)},
        {dcThisYear, EncodeDate(2006, 1, 1)},
    };
    for (const auto& test : cases)
        EXPECT_EQ(DateFilterThreshold(test.Choice, now), test.Threshold) << test.Choice;
    EXPECT_FALSE(DateFilterThreshold(dcAll, now));
    EXPECT_FALSE(DateFilterThreshold(-1, now));
    EXPECT_FALSE(DateFilterThreshold(6, now));
}

TEST(DateFilterThreshold, DaysCountBackAcrossMonthAndYearEnds)
{
    const TDateTime newYear = EncodeDate(2007, 1, 2) + EncodeTime(0, 0, 0, 1);
    EXPECT_EQ(DateFilterThreshold(dcLast3Days, newYear), EncodeDate(2006, 12, 30));
    EXPECT_EQ(DateFilterThreshold(dcLast7Days, newYear), EncodeDate(2006, 12, 26));
    EXPECT_EQ(DateFilterThreshold(dcThisMonth, newYear), EncodeDate(2007, 1, 1));
    // A moment before midnight still belongs to its own day.
    const TDateTime lateEvening = EncodeDate(2006, 2, 28) + EncodeTime(23, 59, 59, 999);
    EXPECT_EQ(DateFilterThreshold(dcToday, lateEvening), EncodeDate(2006, 2, 28));
}

TEST(NormalizeFilterText, TrimsControlsAndBlanksAndUpperCasesAsciiLettersOnly)
{
    EXPECT_EQ(NormalizeFilterText("  note pad\t\r\n"), "NOTE PAD");
    EXPECT_EQ(NormalizeFilterText("\x01"
                                  "a\x7f"),
              "A\x7f");
    EXPECT_EQ(NormalizeFilterText("caf\xe9"), "CAF\xe9");
    EXPECT_EQ(NormalizeFilterText(" \t "), "");
    EXPECT_EQ(NormalizeFilterText("%csidl2%"), "%CSIDL2%");
}

TEST(FileNameMatches, FindsTheNeedleAnywhereInTheUpperCasedName)
{
    EXPECT_TRUE(FileNameMatches("C:\\Windows\\notepad.exe", "NOTEPAD"));
    EXPECT_TRUE(FileNameMatches("C:\\Windows\\notepad.exe", "C:\\"));
    EXPECT_TRUE(FileNameMatches("abc", ""));
    EXPECT_FALSE(FileNameMatches("notepad", "NOTEPAD.EXE"));
    EXPECT_FALSE(FileNameMatches("caf\xe9", "CAF\xc9"));
    EXPECT_TRUE(FileNameMatches("caf\xe9", "CAF\xe9"));
}

}  // namespace
