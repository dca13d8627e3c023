#pragma once
// A transaction log in the format of Windows 8.1 and later: a 512-byte copy of
// the base block (file type 6), then log entries ("HvLE") at 512-byte
// boundaries, each with the hive bins data size and sequence number it
// brings the hive to, and the dirty pages it writes, guarded by two Marvin32
// hashes. The layout is that of the registry file format document.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/Exception.h"
#include "registry/hive/LogReplay.h"

// A log entry that cannot be applied; the message says why.
class EBadLogEntry : public Exception {
public:
    using Exception::Exception;
};

struct LogEntry {
    std::size_t End = 0;  // where the next entry begins
    std::uint32_t Sequence = 0;
    std::uint32_t HiveBinsDataSize = 0;
    bool TransactionsPending = false;  // bit 0 of the base block's flags when the entry was made
    std::span<const std::uint8_t> Bytes;
    std::uint32_t DirtyPageCount = 0;
};

class NewFormatLog {
public:
    // The first entry lies after the base block's copy.
    static constexpr std::size_t FirstEntry = 512;

    explicit NewFormatLog(std::span<const std::uint8_t> file) : file_(file) {}

    // The sequence number an entry at this offset claims, or nothing where the
    // entries end (no "HvLE" signature there). Read before the entry is
    // checked, to tell an entry left over from earlier writes from a damaged one.
    std::optional<std::uint32_t> SequenceAt(std::size_t offset) const;
    // The checked entry at this offset; EBadLogEntry when it is damaged or
    // cut short, or would write outside its own hive bins data.
    LogEntry EntryAt(std::size_t offset) const;

private:
    std::span<const std::uint8_t> file_;
};

// Writes an entry's dirty pages into a hive's bytes, which must hold its hive bins data.
void ApplyLogEntry(const LogEntry& entry, std::span<std::uint8_t> hive);

// The replay of new-format logs: the entries of the log whose entries are
// older first, then the other's, each entry's sequence number one more than
// the last, from the number the first log's base block gives, which must not
// lie below the hive's own. A hive whose base block is damaged takes that of
// the log with the latest entries, and only that log is applied. No entry may
// make the hive larger than largestHive bytes.
void ReplayNewFormatLogs(std::vector<std::uint8_t>& hive, const HiveBaseBlock& primary, std::vector<CandidateLog> logs,
                         std::size_t largestHive, LogReplayResult& result);
