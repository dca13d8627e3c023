#pragma once
// One row of the viewer's list, free of any window: the number it got when
// it was listed, the texts it shows and the time its sorting reads.
#include <array>
#include <cstdint>
#include <string>

#include "history/StartItem.h"
#include "support/DateTime.h"

enum TListColumn { lcCount, lcFileName, lcType, lcExecCount, lcLastExecuted };

inline constexpr std::array<const char*, 5> ListColumnTitles = {"Count", "File Name", "Type", "Exec Count",
                                                                "Last Executed"};

struct TListedRow {
    int Number = 0;
    std::string FileName;
    std::string TypeText;
    std::int32_t ExecCount = 0;
    std::string LastExecutedText;
    TDateTime LastExecuted = 0;
};

TListedRow ListedRowOf(int number, const TStartItem& item);

// A row as the list shows it: its five texts, and the time the list keeps
// with the row. The numbers come back from their texts.
TListedRow ListedRowFromCells(const std::array<std::string, 5>& cells, TDateTime lastExecuted);

// The texts of the row's cells, column by column.
std::array<std::string, 5> ListedRowCells(const TListedRow& row);
