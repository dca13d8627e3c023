#include "base/CsvWriter.h"
#include "report/ReportWriter.h"

namespace {

class CsvReportWriter final : public ReportWriter {
public:
    explicit CsvReportWriter(TextOutput& out) : out_(out)
    {
        out_.Write(CsvRecord(std::vector<std::string>(ReportFieldNames.begin(), ReportFieldNames.end())));
    }

    void Write(const std::string&, const std::vector<ReportRow>& rows) override
    {
        std::string text;
        for (const ReportRow& row : rows)
            text += CsvRecord({row.Source.value_or(""), row.SubKey, std::to_string(row.Layout), row.StoredName,
                               row.FileName, row.Kind, std::to_string(row.RunCount), NumberOr(row.FocusCount, ""),
                               NumberOr(row.FocusTimeMs, ""), row.LastRun.value_or(""),
                               row.SeededByWindows ? "true" : "false", row.PairedWith.value_or(""),
                               NumberOr(row.CounterResets, ""), row.Note.value_or(""), row.User.value_or("")});
        out_.Write(text);
    }

    void Finish() override {}

private:
    TextOutput& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeCsvWriter(TextOutput& out)
{
    return std::make_unique<CsvReportWriter>(out);
}
