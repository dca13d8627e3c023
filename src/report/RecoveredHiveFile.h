#pragma once
// --save-recovered-hive: the one hive read, as recovered from its transaction
// logs, written as a clean primary file that any hive tool can open.
#include <string>

#include "sources/UserAssistSources.h"

// EUsage when the target is the hive itself or one of its logs: writing it
// would destroy the evidence it was recovered from.
void CheckRecoveredHiveTarget(const std::string& target, const std::string& hive);

struct SaveOutcome {
    ExitCode Code = ExitCode::Success;  // HiveNotSaved when nothing was written
    std::string Message;                // for a line naming the target; empty when all went well
};

// Writes the recovered hive of the reading to the target, by way of a
// temporary file renamed into place, so that a failure leaves no file behind.
SaveOutcome SaveRecoveredHive(const std::string& target, const SourceReading& reading, bool replayLogs);
