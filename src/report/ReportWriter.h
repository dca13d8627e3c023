#pragma once
// The report's forms: an aligned table for a terminal, RFC 4180 CSV with a
// header line, one JSON array of objects, JSON Lines, and three timelines.
#include <memory>
#include <vector>

#include "report/ReportOptions.h"
#include "report/ReportRow.h"
#include "report/TextOutput.h"

class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // The rows of one source, written once that source has been read, so that
    // its messages follow its rows. sourceName: the file, or how the live
    // registry is called.
    virtual void Write(const std::string& sourceName, const std::vector<ReportRow>& rows) = 0;
    // Ends the output (JSON's array is closed); called once, however the run went.
    virtual void Finish() = 0;
    // How many rows a timeline left out for having no time since 1970.
    virtual std::size_t RowsLeftOut() const { return 0; }
};

// severalSources: the table then heads each source's rows with its name.
std::unique_ptr<ReportWriter> MakeTableWriter(TextOutput& out, bool severalSources);
std::unique_ptr<ReportWriter> MakeCsvWriter(TextOutput& out);
std::unique_ptr<ReportWriter> MakeJsonWriter(TextOutput& out);
std::unique_ptr<ReportWriter> MakeJsonLinesWriter(TextOutput& out);
std::unique_ptr<ReportWriter> MakeTimelineWriter(ReportFormat format, TextOutput& out);
std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, TextOutput& out, bool severalSources);
