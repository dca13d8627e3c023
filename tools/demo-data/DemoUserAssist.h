#pragma once
// Realistic UserAssist areas made by code, relative to a local "now".
//
// Stored times are compared unconverted with the viewer's local thresholds, so
// they carry local wall-clock figures. The demo area spreads its last-run times
// so that every date filter lists something and "Show All Entries" lists more:
// several entries run today (after today's midnight, not after now), others
// 1 to 14 days ago, weeks, months and years ago, and some carry no time.
#include "UserAssistArea.h"

// The shell's two classic UserAssist subkeys and one without a "Count" key,
// and the two subkeys of Windows 7 and later.
inline constexpr const char* StartMenuSubKey = "{75048700-EF1F-11D0-9888-006097DEACF9}";
inline constexpr const char* ToolbarSubKey = "{5E6AB780-7743-11CF-A12B-00AA004AE837}";
inline constexpr const char* SubKeyWithoutCount = "{0D6D4F41-2994-4BA0-8FEF-620E43CD2812}";
inline constexpr const char* ExecutablesSubKey = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
inline constexpr const char* ShortcutsSubKey = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";

// About 60 entries over the five subkeys, in name order as the registry lists
// them: those of a Windows XP user and of a Windows 10 or 11 user side by side.
UserAssistArea MakeDemoUserAssistArea(const DateTimeParts& now);

// `count` generated values in one "Count" key, last run over the 400 days up
// to now (for benchmarks): classic values of every kind in the Start Menu
// subkey, or current-layout paths and app IDs in the executables' subkey.
UserAssistArea MakeSyntheticUserAssistArea(int count, const DateTimeParts& now,
                                           UserAssistLayout layout = UserAssistLayout::Classic);
