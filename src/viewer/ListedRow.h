#pragma once
// One row of the viewer's list, free of any window: the number it got when
// it was listed, the texts it shows and the values its sorting reads.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "history/StartItem.h"
#include "support/DateTime.h"

enum TListColumn { lcCount, lcFileName, lcType, lcExecCount, lcFocusCount, lcFocusTime, lcLastExecuted, lcNote };

inline constexpr std::size_t ListColumnCount = 8;

inline constexpr std::array<const char*, ListColumnCount> ListColumnTitles = {
    "Count", "File Name", "Type", "Exec Count", "Focus Count", "Focus Time", "Last Executed", "Note"};

using TListedCells = std::array<std::string, ListColumnCount>;

struct TListedRow {
    int Number = 0;
    std::string FileName;
    std::string TypeText;
    std::int32_t ExecCount = 0;
    std::string LastExecutedText;
    TDateTime LastExecuted = 0;
    // None where the list shows no focus: 16-byte records, and the shortcuts
    // subkey, where Windows repeats the run count in the focus-time field.
    std::optional<std::uint32_t> FocusCount;
    std::optional<std::uint32_t> FocusTime;  // milliseconds
    std::string Note;
};

TListedRow ListedRowOf(int number, const TStartItem& item);

// A row as the list shows it: its texts, and the time the list keeps with the
// row. The numbers come back from their texts, the focus time to the second.
TListedRow ListedRowFromCells(const TListedCells& cells, TDateTime lastExecuted);

// The texts of the row's cells, column by column.
TListedCells ListedRowCells(const TListedRow& row);

// A focus time as h:mm:ss, the milliseconds cut off; the hours are not
// limited to a day.
std::string FocusTimeText(std::uint32_t milliseconds);
