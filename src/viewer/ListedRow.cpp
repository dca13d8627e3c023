#include "viewer/ListedRow.h"

TListedRow ListedRowOf(int number, const TStartItem& item)
{
    return {number, item.FileName, StartItemTypeToStr(item.ItemType), item.ExecCount, item.LastExecutedText,
            item.LastExecuted};
}

std::array<std::string, 5> ListedRowCells(const TListedRow& row)
{
    return {std::to_string(row.Number), row.FileName, row.TypeText, std::to_string(row.ExecCount),
            row.LastExecutedText};
}
