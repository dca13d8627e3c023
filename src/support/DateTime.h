#pragma once
// Date-time values in the program's one representation: a double counting whole
// days since 30 December 1899, the fraction being the time of day. Before that
// day the whole part is negative and the time of day is subtracted from it, so
// 29 December 1899 at noon is -1.5.
#include <array>
#include <cstdint>
#include <string>

#include "base/Exception.h"

using TDateTime = double;

// Raised for calendar figures that name no real date or time.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

struct DateTimeParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Proleptic Gregorian calendar, year 1 onwards (no upper limit of 9999: file
// times reach the year 30828). Invalid figures raise EConvertError.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
// Date plus time of day, the time subtracted for days before 30 December 1899.
TDateTime EncodeDateTime(const DateTimeParts& parts);
// The value is taken to the nearest millisecond first.
DateTimeParts DecodeDateTime(TDateTime value);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// The whole-day part alone: days from 30 December 1899 to a date, and back.
std::int64_t DayNumberOf(int year, int month, int day);
DateTimeParts DateOfDayNumber(std::int64_t dayNumber);

// The local wall clock (GetLocalTime on Windows, the C library's local time
// elsewhere), and today at 00:00:00.
TDateTime Now();
TDateTime Date();

struct TFormatSettings {
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
};

// Process-wide settings read by FormatDateTime; English defaults until the
// program loads the user's locale.
TFormatSettings& FormatSettings();

#ifdef _WIN32
// Reads the thread locale's date and time separators (first character only;
// "/" and ":" when unreadable, nothing when the setting is empty) and its
// month names (a name that cannot be read keeps its previous text).
void LoadFormatSettingsFromLocale();
#endif

// Formats a value with a pattern of tokens read left to right:
//   d dd             day of month, without / with a leading zero
//   m mm             month, without / with a leading zero; minutes when the
//                    last letter token before it was an hour token
//   mmm, mmmm        full month name from FormatSettings() (any run of 3+)
//   yy / yyyy        two-digit year / year padded to four digits (runs of 3+)
//   h hh  n nn  s ss hour (24-hour clock), minute, second
//   z zzz            milliseconds
//   /  :             the date / time separator of FormatSettings()
//   '...' "..."      quoted text, copied without the quotes
// Every other character is copied. Seconds are never rounded up by the
// milliseconds.
std::string FormatDateTime(const std::string& pattern, TDateTime value);
