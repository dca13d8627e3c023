#pragma once
// One line of a report: an entry of the UserAssist reader with where it came
// from, its texts in UTF-8, and nothing where a field has no value.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/StartItem.h"

struct ReportRow {
    std::optional<std::string> Source;  // the file; nothing for the live registry
    std::string SubKey;
    int Layout = 16;
    std::string StoredName;
    std::string FileName;
    std::string Kind;
    std::int32_t RunCount = 0;
    std::optional<std::uint32_t> FocusCount;  // only the 72-byte layout has them
    std::optional<std::uint32_t> FocusTimeMs;
    std::optional<std::string> LastRun;  // YYYY-MM-DDThh:mm:ss.mmmZ
    std::uint64_t LastRunFileTime = 0;   // the same, as stored: for timelines
    // What the entries of the source, seen together, say about this one.
    bool SeededByWindows = false;
    std::optional<std::string> PairedWith;
    std::optional<std::uint32_t> CounterResets;
    std::optional<std::string> Note;
    // Whose hive the row came from; nothing for the live registry and exports.
    std::optional<std::string> User;
};

// The fields' names, in their order: the JSON keys and the CSV header.
inline constexpr std::array<const char*, 15> ReportFieldNames = {
    "source",         "subkey",      "layout",        "stored_name", "file_name",         "kind",
    "run_count",      "focus_count", "focus_time_ms", "last_run",    "seeded_by_windows", "paired_with",
    "counter_resets", "note",        "user",
};

// The row of an entry whose texts are UTF-8 (bytes that are not become U+FFFD).
ReportRow MakeReportRow(const TStartItem& item, const std::optional<std::string>& source,
                        const std::optional<std::string>& user = std::nullopt);

// A file time as YYYY-MM-DDThh:mm:ss.mmmZ, the milliseconds cut, not rounded;
// nothing for zero or a time with the top bit set.
std::optional<std::string> UtcTimeText(std::uint64_t fileTime);

// Milliseconds as h:mm:ss.mmm, the hours as many as they come.
std::string DurationText(std::uint32_t milliseconds);

// The text with each control character (one that would end a line or steer a
// terminal) shown as "?": for messages and table cells, which must stay one
// line each. CSV and JSON carry the text exactly.
std::string PrintableLine(std::string_view text);

// A field that may have no value, in decimal, or what a form writes for none.
std::string NumberOr(const std::optional<std::uint32_t>& number, const std::string& none);
