#include "registry/hive/LogReplay.h"

#include <utility>

#include "registry/hive/NewFormatLog.h"
#include "registry/hive/OldFormatLog.h"

namespace {

bool IsOldFormat(const HiveBaseBlock& logBase)
{
    return logBase.FileType == HiveFileType::OldLog || logBase.FileType == HiveFileType::OldLogWindows2000;
}

// Why a log cannot serve this hive in the format it claims, if it cannot.
std::optional<std::string> RefusalOf(const TransactionLogFile& log, std::span<const std::uint8_t> hive,
                                     const HiveBaseBlock& primary, const HiveBaseBlock& logBase)
{
    if (!HasHiveSignature(log.Bytes) || log.Bytes.size() < LogBaseBlockSize || !logBase.ChecksumValid)
        return "its base block is damaged";
    if (IsOldFormat(logBase))
        return OldFormatLogRefusal(log.Bytes, logBase, hive, primary);
    if (logBase.FileType != HiveFileType::NewLog)
        return "it is no transaction log (file type " + std::to_string(logBase.FileType) + ")";
    if (logBase.HasRmId() && logBase.RmId != primary.RmId)
        return "it belongs to another hive";
    return std::nullopt;
}

}  // namespace

bool HiveIsDirty(const HiveBaseBlock& baseBlock)
{
    return !baseBlock.ChecksumValid || baseBlock.PrimarySequence != baseBlock.SecondarySequence;
}

LogReplayResult ReplayTransactionLogs(std::vector<std::uint8_t>& hive, std::span<const TransactionLogFile> logs)
{
    LogReplayResult result;
    const HiveBaseBlock primary = ReadHiveBaseBlock(hive);
    std::vector<CandidateLog> newFormat;
    std::vector<CandidateLog> oldFormat;
    // No entry may make the hive larger than all of its files could fill.
    std::size_t largestHive = hive.size();
    for (const TransactionLogFile& log : logs) {
        const HiveBaseBlock logBase = ReadHiveBaseBlock(log.Bytes);
        if (const std::optional<std::string> refusal = RefusalOf(log, hive, primary, logBase))
            result.Refused.push_back(log.Name + " is not used: " + *refusal);
        else
            (IsOldFormat(logBase) ? oldFormat : newFormat).push_back({&log, logBase});
        largestHive += log.Bytes.size();
    }
    if (!newFormat.empty())
        ReplayNewFormatLogs(hive, primary, std::move(newFormat), largestHive, result);
    if (!result.Applied() && !oldFormat.empty()) {
        const std::string newFormatReason = std::exchange(result.NothingApplied, "");
        ReplayOldFormatLog(hive, primary, oldFormat, result);
        if (!result.Applied() && !newFormatReason.empty())
            result.NothingApplied = newFormatReason + "; " + result.NothingApplied;
    }
    // When there were logs and none could be used, the refusals tell why.
    if (!result.Applied() && result.NothingApplied.empty() && logs.empty())
        result.NothingApplied = "there are no transaction logs beside it";
    return result;
}
