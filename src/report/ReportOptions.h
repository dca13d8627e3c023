#pragma once
// The report tool's command line: which sources to read, in which format to
// write, and the viewer's two filters.
#include <optional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "sources/SourceSpec.h"
#include "viewer/FilterRules.h"

// A command line the tool cannot follow; the message says what is wrong.
class EUsage : public Exception {
public:
    using Exception::Exception;
};

// Table, CSV and JSON hold every row; JSON Lines is JSON an object a line; the
// timelines (The Sleuth Kit's body file, TLN and Timesketch's JSON Lines) hold
// the rows that have a time, in the order of time.
enum class ReportFormat { Table, Csv, Json, JsonLines, Bodyfile, Tln, Timesketch };
// What the build can read beside files: the live registry needs Windows.
struct ReportPlatform {
    bool HasLiveRegistry = false;
};
ReportPlatform ThisPlatform();

struct ReportOptions {
    std::vector<SourceSpec> Sources;  // in the order named
    ReportFormat Format = ReportFormat::Table;
    std::optional<TDateChoice> Period;
    std::optional<std::string> Needle;             // the text filter, already normalised
    bool ReplayLogs = true;                        // a dirty hive's transaction logs are applied
    std::optional<std::string> SaveRecoveredHive;  // where to write the hive as read after replay
    std::optional<unsigned> Jobs;                  // files read at once; all cores when not given
    bool Help = false;
};

// The arguments after the program's name, in UTF-8. EUsage for anything the
// tool cannot follow on this platform.
ReportOptions ParseReportArguments(const std::vector<std::string>& arguments,
                                   const ReportPlatform& platform = ThisPlatform());

// The text --help prints.
std::string ReportUsage(const ReportPlatform& platform = ThisPlatform());
