#include "viewer/ListedRow.h"

#include <charconv>

TListedRow ListedRowOf(int number, const TStartItem& item)
{
    return {number,         item.FileName,         StartItemTypeToStr(item.ItemType),
            item.ExecCount, item.LastExecutedText, item.LastExecuted};
}

TListedRow ListedRowFromCells(const std::array<std::string, 5>& cells, TDateTime lastExecuted)
{
    const auto number = [](const std::string& text) {
        int value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    };
    return {number(cells[lcCount]),     cells[lcFileName],     cells[lcType],
            number(cells[lcExecCount]), cells[lcLastExecuted], lastExecuted};
}

std::array<std::string, 5> ListedRowCells(const TListedRow& row)
{
    return {std::to_string(row.Number), row.FileName, row.TypeText, std::to_string(row.ExecCount),
            row.LastExecutedText};
}
