#pragma once
// Reading the UserAssist area of one source (a hive file, a registry export or
// the live registry) through the viewer's own reader. Failures do not escape:
// they become messages and an exit code, with the entries read before them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/StartItem.h"
#include "sources/ExitCode.h"
#include "sources/SourceSpec.h"

struct SourceReading {
    std::vector<TStartItem> Items;      // texts in UTF-8
    std::vector<std::string> Messages;  // each for a line of its own, after the rows
    ExitCode Code = ExitCode::Success;
    // A dirty hive's line about its transaction logs (also among the
    // messages); empty for a clean hive and other sources.
    std::string LogReport;
    // The file-name field of a hive's base block (the end of the path Windows
    // loaded it from), in UTF-8; empty for other sources.
    std::string BaseBlockName;
    // The hive as recovered from its logs, as a clean primary file: kept
    // when asked for and at least one log entry was applied.
    struct RecoveredHive {
        std::vector<std::uint8_t> Bytes;
        bool Partial = false;  // a damaged entry stopped the replay before the logs ended
    };
    std::optional<RecoveredHive> Recovered;

    void Fail(ExitCode code, const std::string& message);
    void Note(const std::string& message) { Messages.push_back(message); }
};

// replayLogs: a dirty hive's transaction logs are applied (else it is read as
// it is); keepRecoveredHive: the hive they recover is kept in the reading.
SourceReading ReadSource(const SourceSpec& source, bool replayLogs = true, bool keepRecoveredHive = false);

// The name by which messages and the table call a source.
std::string SourceName(const SourceSpec& source);
