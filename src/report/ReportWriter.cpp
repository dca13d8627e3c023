#include "report/ReportWriter.h"

std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, TextOutput& out, bool severalSources)
{
    switch (format) {
    case ReportFormat::Csv:
        return MakeCsvWriter(out);
    case ReportFormat::Json:
        return MakeJsonWriter(out);
    case ReportFormat::Table:
        break;
    }
    return MakeTableWriter(out, severalSources);
}
