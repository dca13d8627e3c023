#include "report/ReportTool.h"

#include <algorithm>

#include "base/ScopeExit.h"
#include "base/TextEncoding.h"
#include "report/RecoveredHiveFile.h"
#include "report/ReportFilter.h"
#include "report/ReportWriter.h"
#include "sources/ExitCode.h"
#include "sources/UserAssistSources.h"

namespace {

constexpr const char* ToolName = "tallyglass-report";

int Report(const ReportOptions& options, TextOutput& out, TextOutput& err)
{
    const ReportFilter filter(options, Now());
    const std::unique_ptr<ReportWriter> writer = MakeReportWriter(options.Format, out, options.Sources.size() > 1);
    // JSON's array is closed however the run ends.
    const ScopeExit finish([&] { writer->Finish(); });
    ExitCode worst = ExitCode::Success;
    for (const SourceSpec& source : options.Sources) {
        const SourceReading reading = ReadSource(source, options.ReplayLogs, options.SaveRecoveredHive.has_value());
        std::vector<ReportRow> rows;
        const std::optional<std::string> file =
            source.Kind == SourceKind::LiveRegistry ? std::nullopt : std::optional<std::string>(source.File);
        for (const TStartItem& item : reading.Items)
            if (filter.Accepts(item))
                rows.push_back(MakeReportRow(item, file));
        // A source that could not be read at all shows its message alone.
        if (!reading.Items.empty() || reading.Code < ExitCode::FileUnreadable)
            writer->Write(SourceName(source), rows);
        for (const std::string& message : reading.Messages)
            err.Write(PrintableLine(SourceName(source) + ": " + ValidUtf8(message)) + "\n");
        worst = std::max(worst, reading.Code);
        if (const std::optional<std::string>& target = options.SaveRecoveredHive) {
            const SaveOutcome saved = SaveRecoveredHive(*target, reading, options.ReplayLogs);
            if (!saved.Message.empty())
                err.Write(PrintableLine(*target + ": " + ValidUtf8(saved.Message)) + "\n");
            worst = std::max(worst, saved.Code);
        }
    }
    return static_cast<int>(worst);
}

}  // namespace

int RunReport(const std::vector<std::string>& arguments, TextOutput& out, TextOutput& err)
{
    ReportOptions options;
    try {
        options = ParseReportArguments(arguments);
        if (options.SaveRecoveredHive)
            CheckRecoveredHiveTarget(*options.SaveRecoveredHive, options.Sources.front().File);
    } catch (const EUsage& error) {
        err.Write(PrintableLine(std::string(ToolName) + ": " + ValidUtf8(error.Message())) + "\nTry \"" + ToolName +
                  " --help\".\n");
        return static_cast<int>(ExitCode::Usage);
    }
    if (options.Help) {
        out.Write(ReportUsage());
        return static_cast<int>(ExitCode::Success);
    }
    return Report(options, out, err);
}
