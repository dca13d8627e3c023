#include "viewer/ListText.h"

#include "report/CsvWriter.h"

namespace {

// Joins the title line and each row's cells into lines with a line maker.
template <typename MakeLine>
std::string Lines(const std::vector<TListedRow>& rows, const std::vector<std::size_t>& places, MakeLine makeLine)
{
    std::string text = makeLine(std::vector<std::string>(ListColumnTitles.begin(), ListColumnTitles.end()));
    for (const std::size_t place : places) {
        const auto cells = ListedRowCells(rows.at(place));
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

std::string TabSeparatedText(const std::vector<TListedRow>& rows, const std::vector<std::size_t>& places)
{
    return Lines(rows, places, TabSeparatedLine);
}

std::string CsvText(const std::vector<TListedRow>& rows, const std::vector<std::size_t>& places)
{
    return Lines(rows, places, [](const std::vector<std::string>& cells) { return CsvRecord(cells); });
}
