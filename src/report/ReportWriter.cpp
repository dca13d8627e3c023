#include "report/ReportWriter.h"

std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, TextOutput& out, bool severalSources)
{
    switch (format) {
    case ReportFormat::Csv:
        return MakeCsvWriter(out);
    case ReportFormat::Json:
        return MakeJsonWriter(out);
    case ReportFormat::JsonLines:
        return MakeJsonLinesWriter(out);
    case ReportFormat::Bodyfile:
    case ReportFormat::Tln:
    case ReportFormat::Timesketch:
        return MakeTimelineWriter(format, out);
    case ReportFormat::Table:
        break;
    }
    return MakeTableWriter(out, severalSources);
}
