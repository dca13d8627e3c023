#pragma once
// Reading the UserAssist area of one source (a hive file, a registry export or
// the live registry) through the viewer's own reader. Failures do not escape:
// they become messages and an exit code, with the entries read before them.
#include <string>
#include <vector>

#include "history/StartItem.h"
#include "sources/ExitCode.h"
#include "sources/SourceSpec.h"

struct SourceReading {
    std::vector<TStartItem> Items;      // texts in UTF-8
    std::vector<std::string> Messages;  // each for a line of its own, after the rows
    ExitCode Code = ExitCode::Success;

    void Fail(ExitCode code, const std::string& message);
    void Note(const std::string& message) { Messages.push_back(message); }
};

SourceReading ReadSource(const SourceSpec& source);

// The name by which messages and the table call a source.
std::string SourceName(const SourceSpec& source);
