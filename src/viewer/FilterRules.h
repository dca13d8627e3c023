#pragma once
// The viewer's filter rules, free of any window: the date thresholds of the
// date choices and the text needle and its match.
#include <optional>
#include <string>

#include "support/DateTime.h"

// The date choices of the viewer's list, by index.
enum TDateChoice { dcAll, dcToday, dcLast3Days, dcLast7Days, dcThisMonth, dcThisYear };

// The threshold for a date choice at the moment now: midnight of the day the
// choice starts on. No threshold for "all entries" or an unknown index.
std::optional<TDateTime> DateFilterThreshold(int choice, TDateTime now);

// Leading and trailing characters up to the blank removed, a-z upper-cased;
// every other byte stays as it is.
std::string NormalizeFilterText(const std::string& text);

// True when the needle (already normalised) occurs in the file name with
// its letters a-z upper-cased.
bool FileNameMatches(const std::string& fileName, const std::string& needle);
