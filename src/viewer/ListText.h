#pragma once
// The viewer's rows as text for other programs: the clipboard's tab-separated
// lines and a CSV file. Both start with a line of the column titles and hold
// the rows at the given places, in that order.
#include <cstddef>
#include <string>
#include <vector>

#include "viewer/ListedRow.h"

// Cells separated by tabs, every line ended by CRLF.
std::string TabSeparatedText(const std::vector<TListedRow>& rows, const std::vector<std::size_t>& places);

// RFC 4180 records, in the rows' own 8-bit code page.
std::string CsvText(const std::vector<TListedRow>& rows, const std::vector<std::size_t>& places);
