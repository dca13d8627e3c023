// The user's date and time separators and month names, read from the thread's
// locale with the 8-bit interface (texts stay in the system code page).
#include <windows.h>

#include "support/DateTime.h"

namespace {

// The text of a locale setting, or false when it cannot be read.
bool ReadLocaleText(LCTYPE setting, std::string& text)
{
    char buffer[256];
    const int length = GetLocaleInfoA(GetThreadLocale(), setting, buffer, sizeof buffer);
    if (length <= 0)
        return false;
    text.assign(buffer);  // the returned length counts the terminating zero
    return true;
}

std::string Separator(LCTYPE setting, const char* fallback)
{
    std::string text;
    if (!ReadLocaleText(setting, text))
        return fallback;
    return text.substr(0, 1);
}

}  // namespace

void LoadFormatSettingsFromLocale()
{
    TFormatSettings& settings = FormatSettings();
    settings.DateSeparator = Separator(LOCALE_SDATE, "/");
    settings.TimeSeparator = Separator(LOCALE_STIME, ":");
    for (int month = 0; month < 12; ++month) {
        std::string name;
        if (ReadLocaleText(LOCALE_SMONTHNAME1 + month, name))
            settings.LongMonthNames[month] = name;
    }
}
