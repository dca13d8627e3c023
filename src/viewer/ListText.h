#pragma once
// The viewer's rows as text for other programs: the clipboard's tab-separated
// lines and a CSV file. Both start with a line of the column titles and hold
// the given rows, in that order.
#include <string>
#include <vector>

#include "viewer/ListedRow.h"

// Cells separated by tabs, every line ended by CRLF.
std::string TabSeparatedText(const std::vector<TListedRow>& rows);

// RFC 4180 records, in the texts' own encoding (UTF-8 as the viewer reads its
// list back).
std::string CsvText(const std::vector<TListedRow>& rows);
