#include "report/ReportTool.h"

#include <algorithm>

#include "base/ScopeExit.h"
#include "base/TextEncoding.h"
#include "report/OrderedReading.h"
#include "report/ProgressLine.h"
#include "report/RecoveredHiveFile.h"
#include "report/ReportFilter.h"
#include "report/ReportWriter.h"
#include "sources/ExitCode.h"
#include "sources/UserAssistSources.h"
#include "sources/UserHives.h"

namespace {

constexpr const char* ToolName = "tallyglass-report";

// One step of a run: a source to read, or, for a folder of a tree, a line to
// say in its place.
struct Step {
    SourceSpec Source;
    std::optional<std::string> Problem;
};

// The sources in the order named, each folder replaced by the users' hives
// found below it and the folders that could not be opened.
std::vector<Step> StepsOf(const std::vector<SourceSpec>& sources)
{
    std::vector<Step> steps;
    for (const SourceSpec& source : sources) {
        if (source.Kind != SourceKind::Tree) {
            steps.push_back({source, std::nullopt});
            continue;
        }
        std::string whyNot;
        const std::optional<std::vector<TreeFinding>> findings = FindUserHives(source.File, whyNot);
        if (!findings) {
            steps.push_back({source, "cannot open the folder: " + whyNot});
            continue;
        }
        bool anyHive = false;
        for (const TreeFinding& finding : *findings) {
            anyHive = anyHive || !finding.Problem;
            steps.push_back(finding.Problem
                                ? Step{{SourceKind::Tree, finding.Path}, "cannot open the folder: " + *finding.Problem}
                                : Step{{SourceKind::Hive, finding.Path}, std::nullopt});
        }
        if (!anyHive)
            steps.push_back({source, "no file named NTUSER.DAT in this folder or below it"});
    }
    return steps;
}

// What one step gives the output: its rows, already filtered, and its reading
// without the entries the rows were made of.
struct StepReport {
    std::vector<ReportRow> Rows;
    SourceReading Reading;
};

StepReport ReadStep(const Step& step, const ReportOptions& options, const ReportFilter& filter)
{
    StepReport report;
    if (step.Problem) {
        report.Reading.Fail(ExitCode::FileUnreadable, *step.Problem);
        return report;
    }
    report.Reading = ReadSource(step.Source, options.ReplayLogs, options.SaveRecoveredHive.has_value());
    const SourceSpec& source = step.Source;
    const std::optional<std::string> file =
        source.Kind == SourceKind::LiveRegistry ? std::nullopt : std::optional<std::string>(source.File);
    std::optional<std::string> user;
    if (source.Kind == SourceKind::Hive)
        if (std::string name = UserOfHive(report.Reading.BaseBlockName, source.File); !name.empty())
            user = std::move(name);
    for (const TStartItem& item : report.Reading.Items)
        if (filter.Accepts(item))
            report.Rows.push_back(MakeReportRow(item, file, user));
    report.Reading.Items = {};
    return report;
}

int Report(const ReportOptions& options, TextOutput& out, TextOutput& err)
{
    const ReportFilter filter(options, Now());
    const std::vector<Step> steps = StepsOf(options.Sources);
    const std::unique_ptr<ReportWriter> writer = MakeReportWriter(options.Format, out, steps.size() > 1);
    // JSON's array is closed however the run ends.
    const ScopeExit finish([&] { writer->Finish(); });
    const std::size_t files = static_cast<std::size_t>(
        std::count_if(steps.begin(), steps.end(), [](const Step& step) { return !step.Problem; }));
    ProgressLine progress(err, err.IsTerminal() && files > 1);
    const auto say = [&](const std::string& line) {
        progress.Clear();
        err.Write(PrintableLine(line) + "\n");
    };
    ExitCode worst = ExitCode::Success;
    std::size_t filesDone = 0;
    const unsigned jobs = options.Jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    OrderedReading<StepReport>::Run(
        steps.size(), jobs, [&](std::size_t i) { return ReadStep(steps[i], options, filter); },
        [&](std::size_t i, StepReport& report) {
            const Step& step = steps[i];
            const SourceReading& reading = report.Reading;
            // A source that could not be read at all shows its message alone.
            if (!step.Problem && (!report.Rows.empty() || reading.Code < ExitCode::FileUnreadable)) {
                if (out.IsTerminal())  // the rows would land on the progress line
                    progress.Clear();
                writer->Write(SourceName(step.Source), report.Rows);
            }
            for (const std::string& message : reading.Messages)
                say(SourceName(step.Source) + ": " + ValidUtf8(message));
            worst = std::max(worst, reading.Code);
            if (const std::optional<std::string>& target = options.SaveRecoveredHive) {
                const SaveOutcome saved = SaveRecoveredHive(*target, reading, options.ReplayLogs);
                if (!saved.Message.empty())
                    say(*target + ": " + ValidUtf8(saved.Message));
                worst = std::max(worst, saved.Code);
            }
            if (!step.Problem)
                progress.Show(++filesDone, files, SourceName(step.Source));
        });
    if (const std::size_t leftOut = writer->RowsLeftOut())
        say(std::string(ToolName) + ": " + std::to_string(leftOut) + (leftOut == 1 ? " row" : " rows") +
            " without a last-run time since 1970 left out of the timeline");
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
