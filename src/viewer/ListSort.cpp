#include "viewer/ListSort.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <numeric>

namespace {

template <typename Value>
int CompareValues(Value a, Value b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

// The texts the history gives rows that have no time to show, whatever
// their stored value.
bool HasShownTime(const TListedRow& row)
{
    return row.LastExecutedText != "Unknown" && row.LastExecutedText != "No Data";
}

TDateTime SortTime(const TListedRow& row)
{
    return HasShownTime(row) ? row.LastExecuted : -std::numeric_limits<TDateTime>::infinity();
}

// An empty focus cell counts as less than any number shown.
int CompareFocus(const std::optional<std::uint32_t>& a, const std::optional<std::uint32_t>& b)
{
    return a && b ? CompareValues(*a, *b) : CompareValues(a.has_value(), b.has_value());
}

int CompareRows(const TListedRow& a, const TListedRow& b, TListColumn column, const TTextCompare& compareText)
{
    switch (column) {
    case lcCount:
        return CompareValues(a.Number, b.Number);
    case lcFileName:
        return compareText(a.FileName, b.FileName);
    case lcType:
        return compareText(a.TypeText, b.TypeText);
    case lcExecCount:
        return CompareValues(a.ExecCount, b.ExecCount);
    case lcFocusCount:
        return CompareFocus(a.FocusCount, b.FocusCount);
    case lcFocusTime:
        return CompareFocus(a.FocusTime, b.FocusTime);
    case lcLastExecuted:
        return CompareValues(SortTime(a), SortTime(b));
    case lcNote:
        return compareText(a.Note, b.Note);
    }
    return 0;
}

}  // namespace

TSortOrder NextSortOrder(std::optional<TSortOrder> current, TListColumn clicked)
{
    return {clicked, current && current->Column == clicked && !current->Descending};
}

std::vector<std::size_t> SortedRowOrder(const std::vector<TListedRow>& rows, TSortOrder order,
                                        const TTextCompare& compareText)
{
    std::vector<std::size_t> places(rows.size());
    std::iota(places.begin(), places.end(), std::size_t{0});
    // Descending turns the comparison round, not the result: equal rows keep
    // their read order either way.
    std::stable_sort(places.begin(), places.end(), [&](std::size_t a, std::size_t b) {
        const int comparison = CompareRows(rows[a], rows[b], order.Column, compareText);
        return order.Descending ? comparison > 0 : comparison < 0;
    });
    return places;
}
