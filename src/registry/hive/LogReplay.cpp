#include "registry/hive/LogReplay.h"

#include <algorithm>
#include <utility>

#include "registry/hive/NewFormatLog.h"

namespace {

struct UsableLog {
    const TransactionLogFile* File;
    HiveBaseBlock BaseBlock;
};

// Why a log cannot serve this hive, if it cannot.
std::optional<std::string> RefusalOf(const TransactionLogFile& log, const HiveBaseBlock& primary,
                                     const HiveBaseBlock& logBase)
{
    if (!HasHiveSignature(log.Bytes) || log.Bytes.size() < LogBaseBlockSize || !logBase.ChecksumValid)
        return "its base block is damaged";
    if (logBase.FileType == HiveFileType::OldLog || logBase.FileType == HiveFileType::OldLogWindows2000)
        return "it is in the format of Windows XP to 8, which is not applied";
    if (logBase.FileType != HiveFileType::NewLog)
        return "it is no transaction log (file type " + std::to_string(logBase.FileType) + ")";
    if (logBase.HasRmId() && logBase.RmId != primary.RmId)
        return "it belongs to another hive";
    return std::nullopt;
}

class Replay {
public:
    Replay(std::vector<std::uint8_t>& hive, std::size_t largestHive) : hive_(hive), largestHive_(largestHive) {}

    // Applies a log's entries from its first on, the first bringing the
    // expected sequence number and each next one more, until they end.
    void ApplyFrom(const UsableLog& log, std::uint32_t expected, LogReplayResult& result)
    {
        const NewFormatLog entries(log.File->Bytes);
        std::size_t at = NewFormatLog::FirstEntry;
        bool applied = false;
        for (;;) {
            const std::optional<std::uint32_t> claimed = entries.SequenceAt(at);
            // An entry of an earlier write (or none at all) ends the log's run;
            // a later one means that an entry went missing.
            if (!claimed || *claimed < expected || (!applied && *claimed != expected))
                return;
            const std::string name = "entry " + std::to_string(expected) + " of " + log.File->Name;
            if (*claimed > expected) {
                result.Stop = name + " is missing: the next entry is " + std::to_string(*claimed);
                return;
            }
            try {
                const LogEntry entry = entries.EntryAt(at);
                if (HiveBaseBlockSize + std::size_t{entry.HiveBinsDataSize} > largestHive_)
                    throw EBadLogEntry("its hive bins data size of " + std::to_string(entry.HiveBinsDataSize) +
                                       " bytes is more than the hive and its logs hold");
                Apply(entry, log, result);
                applied = true;
                at = entry.End;
                ++expected;
            } catch (const EBadLogEntry& error) {
                result.Stop = name + " stopped the replay: " + error.Message();
                return;
            }
        }
    }

    // Makes the bytes a clean primary file of the recovered hive.
    void Finish()
    {
        hive_.resize(HiveBaseBlockSize + hiveBinsDataSize_);
        MarkHiveBaseBlockRecovered(std::span(hive_).first(HiveBaseBlockSize), lastSequence_, hiveBinsDataSize_,
                                   transactionsPending_);
    }

private:
    void Apply(const LogEntry& entry, const UsableLog& log, LogReplayResult& result)
    {
        // The hive grows as the entries say; what lay past its end in the file stays until a page covers it.
        hive_.resize(std::max(hive_.size(), HiveBaseBlockSize + entry.HiveBinsDataSize));
        ApplyLogEntry(entry, hive_);
        hiveBinsDataSize_ = entry.HiveBinsDataSize;
        transactionsPending_ = entry.TransactionsPending;
        lastSequence_ = entry.Sequence;
        if (result.EntriesApplied++ == 0)
            result.FirstSequence = entry.Sequence;
        result.LastSequence = entry.Sequence;
        if (result.FilesApplied.empty() || result.FilesApplied.back() != log.File->Name)
            result.FilesApplied.push_back(log.File->Name);
        result.Stop.reset();  // a stop that a later log made good again ended nothing
    }

    std::vector<std::uint8_t>& hive_;
    std::size_t largestHive_;
    std::uint32_t hiveBinsDataSize_ = 0;
    std::uint32_t lastSequence_ = 0;
    bool transactionsPending_ = false;
};

}  // namespace

bool HiveIsDirty(const HiveBaseBlock& baseBlock)
{
    return !baseBlock.ChecksumValid || baseBlock.PrimarySequence != baseBlock.SecondarySequence;
}

LogReplayResult ReplayTransactionLogs(std::vector<std::uint8_t>& hive, std::span<const TransactionLogFile> logs)
{
    LogReplayResult result;
    const HiveBaseBlock primary = ReadHiveBaseBlock(hive);
    std::vector<UsableLog> usable;
    // No entry may make the hive larger than all of its files could fill.
    std::size_t largestHive = hive.size();
    for (const TransactionLogFile& log : logs) {
        const HiveBaseBlock logBase = ReadHiveBaseBlock(log.Bytes);
        if (const std::optional<std::string> refusal = RefusalOf(log, primary, logBase))
            result.Refused.push_back(log.Name + " is not used: " + *refusal);
        else
            usable.push_back({&log, logBase});
        largestHive += log.Bytes.size();
    }
    if (usable.empty()) {
        // When there were logs, the refusals tell why.
        result.NothingApplied = logs.empty() ? "there are no transaction logs beside it" : "";
        return result;
    }
    std::stable_sort(usable.begin(), usable.end(), [](const UsableLog& a, const UsableLog& b) {
        return a.BaseBlock.PrimarySequence < b.BaseBlock.PrimarySequence;
    });

    // A base block that is itself damaged gives way to that of the log with the latest entries, and only
    // that log is applied: the hive's own sequence numbers cannot be trusted.
    const std::vector<std::uint8_t> original(hive.begin(), hive.begin() + LogBaseBlockSize);
    std::uint32_t lowest = primary.SecondarySequence;
    if (!primary.ChecksumValid) {
        usable.erase(usable.begin(), usable.end() - 1);
        std::copy_n(usable.back().File->Bytes.begin(), LogBaseBlockSize, hive.begin());
        lowest = 0;
    }

    Replay replay(hive, largestHive);
    bool olderOnly = true;
    for (const UsableLog& log : usable) {
        if (result.EntriesApplied == 0 && log.BaseBlock.PrimarySequence < lowest)
            continue;  // its entries were written into the hive already
        olderOnly = false;
        replay.ApplyFrom(log, result.EntriesApplied == 0 ? log.BaseBlock.PrimarySequence : result.LastSequence + 1,
                         result);
        if (result.EntriesApplied == 0)
            break;  // without its first entry, no later one may be applied
    }
    if (result.EntriesApplied > 0) {
        replay.Finish();
    } else {
        std::copy(original.begin(), original.end(), hive.begin());
        result.NothingApplied = olderOnly     ? "its logs are older than the hive"
                                : result.Stop ? *std::exchange(result.Stop, std::nullopt)
                                              : "the first entry of its logs is not the one the hive needs";
    }
    return result;
}
