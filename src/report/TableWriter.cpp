#include "report/ReportWriter.h"

#include <algorithm>

namespace {

enum class Align { Left, Right };

struct Column {
    const char* Title;
    Align Alignment;
};

// What a terminal user reads first; the subkey, layout and stored name are
// for the CSV and JSON forms. The file name and the note come last, as the
// longest.
// Whose hive a row came from leads when any row of a source says so.
constexpr Column Columns[] = {
    {"User", Align::Left},        {"Kind", Align::Left},           {"Runs", Align::Right},     {"Focus", Align::Right},
    {"Focus time", Align::Right}, {"Last run (UTC)", Align::Left}, {"File name", Align::Left}, {"Note", Align::Left},
};
constexpr std::size_t ColumnCount = std::size(Columns);
constexpr const char* NoValue = "-";

// Characters a terminal shows: UTF-8 lead bytes, not continuation bytes.
std::size_t DisplayWidth(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::array<std::string, ColumnCount> Cells(const ReportRow& row)
{
    std::string lastRun = NoValue;
    if (row.LastRun) {  // 2015-02-17T22:25:26.710Z read as 2015-02-17 22:25:26.710
        lastRun = *row.LastRun;
        std::replace(lastRun.begin(), lastRun.end(), 'T', ' ');
        lastRun.pop_back();
    }
    return {PrintableLine(row.User.value_or(NoValue)),
            row.Kind,
            std::to_string(row.RunCount),
            NumberOr(row.FocusCount, NoValue),
            row.FocusTimeMs ? DurationText(*row.FocusTimeMs) : NoValue,
            lastRun,
            PrintableLine(row.FileName),
            PrintableLine(row.Note.value_or(""))};
}

class TableWriter final : public ReportWriter {
public:
    TableWriter(TextOutput& out, bool severalSources) : out_(out), severalSources_(severalSources) {}

    void Write(const std::string& sourceName, const std::vector<ReportRow>& rows) override
    {
        const bool users = std::any_of(rows.begin(), rows.end(), [](const ReportRow& row) { return row.User; });
        const std::size_t first = users ? 0 : 1;
        std::vector<std::array<std::string, ColumnCount>> lines(1);
        for (std::size_t i = 0; i < ColumnCount; ++i)
            lines[0][i] = Columns[i].Title;
        for (const ReportRow& row : rows)
            lines.push_back(Cells(row));

        std::array<std::size_t, ColumnCount> widths{};
        for (const auto& line : lines)
            for (std::size_t i = 0; i < ColumnCount; ++i)
                widths[i] = std::max(widths[i], DisplayWidth(line[i]));
        std::array<std::string, ColumnCount> rules;
        for (std::size_t i = 0; i < ColumnCount; ++i)
            rules[i] = std::string(widths[i], '-');
        lines.insert(lines.begin() + 1, rules);

        std::string text;
        if (severalSources_) {
            text += blocks_++ ? "\n" : "";
            text += PrintableLine(sourceName) + ":\n";
        }
        for (const auto& line : lines)
            text += Line(line, widths, first);
        out_.Write(text);
    }

    void Finish() override {}

private:
    static std::string Line(const std::array<std::string, ColumnCount>& cells,
                            const std::array<std::size_t, ColumnCount>& widths, std::size_t first)
    {
        std::string line;
        for (std::size_t i = first; i < ColumnCount; ++i) {
            const std::string padding(widths[i] - DisplayWidth(cells[i]), ' ');
            const bool last = i + 1 == ColumnCount;
            line += i > first ? "  " : "";
            if (Columns[i].Alignment == Align::Right)
                line += padding + cells[i];
            else
                line += last ? cells[i] : cells[i] + padding;
        }
        // Most rows have no note: no blanks after their file name.
        line.erase(line.find_last_not_of(' ') + 1);
        return line + "\n";
    }

    TextOutput& out_;
    bool severalSources_;
    int blocks_ = 0;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeTableWriter(TextOutput& out, bool severalSources)
{
    return std::make_unique<TableWriter>(out, severalSources);
}
