#pragma once
// The report's three forms: an aligned table for a terminal, RFC 4180 CSV with
// a header line, and one JSON array of objects.
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
};

// severalSources: the table then heads each source's rows with its name.
std::unique_ptr<ReportWriter> MakeTableWriter(TextOutput& out, bool severalSources);
std::unique_ptr<ReportWriter> MakeCsvWriter(TextOutput& out);
std::unique_ptr<ReportWriter> MakeJsonWriter(TextOutput& out);
std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, TextOutput& out, bool severalSources);
