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

// The texts of the row's cells, column by column.
std::array<std::string, 5> ListedRowCells(const TListedRow& row);
