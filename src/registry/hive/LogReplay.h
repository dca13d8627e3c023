#pragma once
// Bringing a dirty hive up to date from its transaction logs, in memory, as
// the registry file format document describes Windows' own recovery: the
// entries of the log whose entries are older first, then the other's, each
// entry's sequence number one more than the last, from the number the first
// log's base block gives, which must not lie below the hive's own.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "registry/hive/BaseBlock.h"

struct TransactionLogFile {
    std::string Name;  // for messages
    std::vector<std::uint8_t> Bytes;
};

struct LogReplayResult {
    std::vector<std::string> FilesApplied;  // in the order their entries were applied
    std::uint32_t EntriesApplied = 0;
    std::uint32_t FirstSequence = 0;
    std::uint32_t LastSequence = 0;
    // The entry that ended the replay before its logs did, and why.
    std::optional<std::string> Stop;
    // Why a log was not used, one text each ("X is not used: it belongs to another hive").
    std::vector<std::string> Refused;
    // Why nothing was applied, when nothing was and the refusals do not say.
    std::string NothingApplied;
};

// A hive needs its logs when a write of it was not finished: its sequence
// numbers differ, or its base block's checksum is wrong.
bool HiveIsDirty(const HiveBaseBlock& baseBlock);

// Applies the logs to a dirty hive's bytes (a primary file with a "regf"
// signature and a whole base block). When entries were applied, the bytes
// become a clean primary file of the recovered hive: 4,096 bytes of base
// block (the last entry's sequence number in both fields, file type 0, the
// last entry's hive bins data size and flag, a new checksum), then the hive
// bins data. Otherwise they are left as they were.
LogReplayResult ReplayTransactionLogs(std::vector<std::uint8_t>& hive, std::span<const TransactionLogFile> logs);
