#pragma once
// What the numbers of a source's entries mean, found by looking at them all
// together: entries Windows wrote itself at a user's first logon, shortcut
// launches paired with the program they started, and the values that are no
// program at all.
#include <vector>

#include "history/StartItem.h"

inline constexpr const char* SeededNote = "Set by Windows at first logon, not a real run";
inline constexpr const char* MarkerNote = "Marker, not a program";
inline constexpr const char* SessionNote = "Totals of this key";

// Sets SeededByWindows, PairedWith and Note of every entry of one source.
// The entries must all come from one user's UserAssist area: times are only
// compared within it.
void ExplainEntries(std::vector<TStartItem>& items);
