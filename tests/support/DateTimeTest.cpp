#include "support/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Restores the process-wide format settings after a test changes them.
class FormatSettingsGuard {
public:
    FormatSettingsGuard() : saved_(FormatSettings()) {}
    ~FormatSettingsGuard() { FormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

struct EncodedMoment {
    DateTimeParts Parts;
    TDateTime Value;
};

const EncodedMoment KnownMoments[] = {
    {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
    {{1899, 12, 30, 12, 0, 0, 0}, 0.5},
    {{1899, 12, 29, 0, 0, 0, 0}, -1.0},
    {{1899, 12, 29, 12, 0, 0, 0}, -1.5},  // the time of day is subtracted before 1899-12-30
    {{1899, 12, 28, 18, 0, 0, 0}, -2.75},
    {{1601, 1, 1, 0, 0, 0, 0}, -109205.0},
    {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
    {{1900, 1, 1, 6, 0, 0, 0}, 2.25},
    {{1970, 1, 1, 0, 0, 0, 0}, 25569.0},
    {{2000, 2, 29, 0, 0, 0, 0}, 36585.0},
    {{2006, 3, 22, 0, 0, 0, 0}, 38798.0},
    {{9999, 12, 31, 0, 0, 0, 0}, 2958465.0},
    {{30828, 9, 14, 0, 0, 0, 0}, 10565994.0},  // the last day a file time reaches
};

TEST(DateTime, EncodesAndDecodesKnownMoments)
{
    for (const EncodedMoment& moment : KnownMoments) {
        const DateTimeParts& p = moment.Parts;
        SCOPED_TRACE(std::to_string(p.Year) + "-" + std::to_string(p.Month) + "-" + std::to_string(p.Day));
        EXPECT_DOUBLE_EQ(EncodeDateTime(p), moment.Value);
        const DateTimeParts decoded = DecodeDateTime(moment.Value);
        EXPECT_EQ(decoded.Year, p.Year);
        EXPECT_EQ(decoded.Month, p.Month);
        EXPECT_EQ(decoded.Day, p.Day);
        EXPECT_EQ(decoded.Hour, p.Hour);
    }
}

TEST(DateTime, RoundTripsEveryMillisecondFieldEitherSideOfZero)
{
    for (const int year : {1601, 1752, 1899, 1900, 2006, 2400}) {
        for (const int month : {1, 2, 12}) {
            const DateTimeParts parts{year, month, DaysInMonth(year, month), 23, 59, 59, 999};
            const DateTimeParts back = DecodeDateTime(EncodeDateTime(parts));
            EXPECT_EQ(back.Year, year);
            EXPECT_EQ(back.Month, month);
            EXPECT_EQ(back.Day, parts.Day);
            EXPECT_EQ(back.Hour * 3600000 + back.Minute * 60000 + back.Second * 1000 + back.Millisecond,
                      86'399'999)
                << year << "-" << month;
        }
    }
}

TEST(DateTime, DecodesToTheNearestMillisecond)
{
    const double halfMs = 0.5 / 86'400'000;
    const DateTimeParts roundedUp = DecodeDateTime(38748.0 + EncodeTime(17, 5, 9, 999) + 0.9 * halfMs * 2);
    EXPECT_EQ(roundedUp.Second, 10);
    EXPECT_EQ(roundedUp.Millisecond, 0);
    // The last moment of a day rounds into the next day, also before 1899-12-30.
    const DateTimeParts midnight = DecodeDateTime(38748.0 + 1.0 - halfMs / 4);
    EXPECT_EQ(midnight.Day, 1);
    EXPECT_EQ(midnight.Month, 2);
    EXPECT_EQ(midnight.Hour, 0);
    const DateTimeParts beforeZero = DecodeDateTime(-1.0 - (1.0 - halfMs / 4));
    EXPECT_EQ(beforeZero.Day, 30);
    EXPECT_EQ(beforeZero.Month, 12);
    EXPECT_EQ(beforeZero.Hour, 0);
}

TEST(DateTime, RefusesFiguresThatNameNoDateOrTime)
{
    const DateTimeParts invalid[] = {
        {2006, 2, 29, 0, 0, 0, 0}, {1900, 2, 29, 0, 0, 0, 0}, {2006, 13, 1, 0, 0, 0, 0},
        {2006, 0, 1, 0, 0, 0, 0},  {0, 1, 1, 0, 0, 0, 0},     {2006, 4, 31, 0, 0, 0, 0},
        {2006, 1, 1, 24, 0, 0, 0}, {2006, 1, 1, 0, 60, 0, 0}, {2006, 1, 1, 0, 0, 60, 0},
        {2006, 1, 1, 0, 0, 0, 1000},
    };
    for (const DateTimeParts& parts : invalid)
        EXPECT_THROW(EncodeDateTime(parts), EConvertError) << parts.Year << "-" << parts.Month << "-" << parts.Day;
    for (const double value : {double(NAN), double(INFINITY), -1e12, 1e12, -693594.5})
        EXPECT_THROW(DecodeDateTime(value), EConvertError) << value;
}

TEST(DateTime, DayNumbersMatchTheCalendarAcrossCenturyRules)
{
    // Walk day by day across the leap rules of 1700, 1900 and 2000.
    for (const int year : {1700, 1900, 2000}) {
        std::int64_t dayNumber = DayNumberOf(year - 1, 12, 31);
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                ++dayNumber;
                const DateTimeParts parts = DateOfDayNumber(dayNumber);
                ASSERT_EQ(parts.Year * 10000 + parts.Month * 100 + parts.Day, year * 10000 + month * 100 + day);
            }
    }
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

struct FormatCase {
    const char* Pattern;
    DateTimeParts Parts;
    const char* Expected;
};

TEST(FormatDateTime, FormatsTheTokensOfThePatterns)
{
    const FormatCase cases[] = {
        {"mm/dd/yyyy hh:nn:ss", {2006, 1, 31, 17, 5, 9, 999}, "01/31/2006 17:05:09"},
        {"mm/dd/yyyy hh:nn:ss", {1601, 1, 1, 0, 0, 0, 0}, "01/01/1601 00:00:00"},
        {"mm/dd/yyyy hh:nn:ss", {1899, 12, 29, 23, 59, 58, 0}, "12/29/1899 23:59:58"},
        {"mm/dd/yyyy hh:nn:ss", {12345, 6, 7, 8, 9, 10, 0}, "06/07/12345 08:09:10"},
        {"mmmm d, yyyy", {2006, 3, 22, 16, 23, 48, 0}, "March 22, 2006"},
        {"mmmm d, yyyy", {99, 12, 5, 0, 0, 0, 0}, "December 5, 0099"},
        {"MMMM D, YYYY", {2006, 3, 2, 0, 0, 0, 0}, "March 2, 2006"},
        {"m/d/yy h:n:s", {2006, 3, 2, 4, 5, 6, 0}, "3/2/06 4:5:6"},
        {"hh:mm", {2006, 3, 2, 4, 5, 6, 0}, "04:05"},      // minutes right after an hour
        {"hh:nn mm", {2006, 3, 2, 4, 5, 6, 0}, "04:05 03"},  // month again after another token
        {"ss.zzz", {2006, 3, 2, 4, 5, 6, 7}, "06.007"},
        {"'mm' \"dd\" mm", {2006, 3, 2, 0, 0, 0, 0}, "mm dd 03"},
        {"ab!", {2006, 3, 2, 0, 0, 0, 0}, "ab!"},
    };
    for (const FormatCase& test : cases)
        EXPECT_EQ(FormatDateTime(test.Pattern, EncodeDateTime(test.Parts)), test.Expected) << test.Pattern;
}

TEST(FormatDateTime, UsesTheSeparatorsAndMonthNamesOfTheSettings)
{
    FormatSettingsGuard guard;
    const TDateTime value = EncodeDateTime({2006, 1, 31, 17, 5, 9, 999});
    FormatSettings().DateSeparator = std::string(".");  // not a literal: GCC 12 warns wrongly (-Wrestrict)
    EXPECT_EQ(FormatDateTime("mm/dd/yyyy hh:nn:ss", value), "01.31.2006 17:05:09");
    FormatSettings().DateSeparator = std::string("");
    FormatSettings().TimeSeparator = std::string("");
    EXPECT_EQ(FormatDateTime("mm/dd/yyyy hh:nn:ss", value), "01312006 170509");
    FormatSettings().LongMonthNames[0] = "Januar";
    EXPECT_EQ(FormatDateTime("mmmm d, yyyy", value), "Januar 31, 2006");
}

TEST(Clock, NowFallsOnTheDayOfDate)
{
    // Retried once in case the day changes between the calls.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const TDateTime today = Date();
        const TDateTime now = Now();
        if (Date() != today)
            continue;
        EXPECT_EQ(today, std::floor(today));
        EXPECT_GE(now, today);
        EXPECT_LT(now, today + 1);
        return;
    }
    FAIL() << "the day changed twice";
}

}  // namespace
