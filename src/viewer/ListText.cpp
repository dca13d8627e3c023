#include "viewer/ListText.h"

#include "base/CsvWriter.h"

namespace {

// Joins the title line and each row's cells into lines with a line maker.
template <typename MakeLine>
std::string Lines(const std::vector<TListedRow>& rows, MakeLine makeLine)
{
    std::string text = makeLine(std::vector<std::string>(ListColumnTitles.begin(), ListColumnTitles.end()));
    for (const TListedRow& row : rows) {
        const auto cells = ListedRowCells(row);
        text += makeLine(std::vector<std::string>(cells.begin(), cells.end()));
    }
    return text;
}

std::string TabSeparatedLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += '\t';
        line += cells[i];
    }
    return line + "\r\n";
}

}  // namespace

std::string TabSeparatedText(const std::vector<TListedRow>& rows)
{
    return Lines(rows, TabSeparatedLine);
}

std::string CsvText(const std::vector<TListedRow>& rows)
{
    return Lines(rows, [](const std::vector<std::string>& cells) { return CsvRecord(cells); });
}
