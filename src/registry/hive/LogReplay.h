#pragma once
// Bringing a dirty hive up to date from its transaction logs, in memory, as
// the registry file format document describes Windows' own recovery. Logs in
// the format of Windows 8.1 and later (NewFormatLog.h) win; a log in the
// format of Windows XP to 8 (OldFormatLog.h) is applied when none of those can be.
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

// A log whose base block passed the checks of its format.
struct CandidateLog {
    const TransactionLogFile* File;
    HiveBaseBlock BaseBlock;
};

struct LogReplayResult {
    std::vector<std::string> FilesApplied;  // in the order their entries were applied
    // New format: the entries applied and their sequence numbers.
    std::uint32_t EntriesApplied = 0;
    std::uint32_t FirstSequence = 0;
    std::uint32_t LastSequence = 0;
    // Old format: the 512-byte dirty pages written, of all the log marks.
    std::uint32_t PagesApplied = 0;
    std::uint32_t PagesDirty = 0;
    // The entry that ended the replay before its logs did, and why.
    std::optional<std::string> Stop;
    // Why a log was not used, one text each ("X is not used: it belongs to another hive").
    std::vector<std::string> Refused;
    // Why nothing was applied, when nothing was and the refusals do not say.
    std::string NothingApplied;

    bool Applied() const { return EntriesApplied > 0 || PagesApplied > 0; }
};

// A hive needs its logs when a write of it was not finished: its sequence
// numbers differ, or its base block's checksum is wrong.
bool HiveIsDirty(const HiveBaseBlock& baseBlock);

// Applies the logs to a dirty hive's bytes (a primary file with a "regf"
// signature and a whole base block). When anything was applied, the bytes
// become a clean primary file of the recovered hive: 4,096 bytes of base
// block (both sequence numbers equal, file type 0, the recovered hive bins
// data size, a new checksum), then the hive bins data. Otherwise they are
// left as they were.
LogReplayResult ReplayTransactionLogs(std::vector<std::uint8_t>& hive, std::span<const TransactionLogFile> logs);
