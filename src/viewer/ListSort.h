#pragma once
// The orders in which the viewer's list can show its rows.
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "viewer/ListedRow.h"

struct TSortOrder {
    TListColumn Column = lcCount;
    bool Descending = false;
    friend bool operator==(const TSortOrder&, const TSortOrder&) = default;
};

// A click on a column's header: ascending by that column, descending when it
// was already ascending by it.
TSortOrder NextSortOrder(std::optional<TSortOrder> current, TListColumn clicked);

// Compares two texts as the user's locale sorts them: negative, zero or
// positive.
using TTextCompare = std::function<int(std::string_view a, std::string_view b)>;

// The places of the rows (given in read order) in the order to show them.
// "Count" sorts by the row number, the text columns by the comparison given,
// "Exec Count" and the focus columns by number (empty focus cells first, as
// equals), and "Last Executed" by time, rows without a shown time ("Unknown",
// "No Data") counting as the oldest and equal to each other. Rows that compare equal keep their read order in both
// directions.
std::vector<std::size_t> SortedRowOrder(const std::vector<TListedRow>& rows, TSortOrder order,
                                        const TTextCompare& compareText);
