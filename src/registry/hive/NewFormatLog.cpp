#include "registry/hive/NewFormatLog.h"

#include <algorithm>
#include <utility>
#include <string_view>

#include "base/LittleEndian.h"
#include "registry/hive/BaseBlock.h"
#include "registry/hive/Marvin32.h"

namespace {

constexpr std::string_view EntrySignature = "HvLE";
constexpr std::size_t SizeOffset = 4;
constexpr std::size_t FlagsOffset = 8;
constexpr std::size_t SequenceOffset = 12;
constexpr std::size_t HiveBinsDataSizeOffset = 16;
constexpr std::size_t DirtyPageCountOffset = 20;
constexpr std::size_t Hash1Offset = 24;
constexpr std::size_t Hash2Offset = 32;
constexpr std::size_t HeaderSize = 40;  // the page references follow
// Hash-2 covers the header up to itself, Hash-1 included.
constexpr std::size_t Hash2Covers = 32;
constexpr std::size_t PageReferenceSize = 8;
constexpr std::size_t EntryAlignment = 512;
constexpr std::uint32_t HiveBinAlignment = 4096;

struct PageReference {
    std::uint32_t Offset;  // from the start of the hive bins data
    std::uint32_t Size;
};

PageReference PageReferenceOf(const LogEntry& entry, std::uint32_t index)
{
    const std::size_t at = HeaderSize + index * PageReferenceSize;
    return {ReadLittleEndian32(entry.Bytes, at), ReadLittleEndian32(entry.Bytes, at + 4)};
}

// The pages an entry writes must lie inside its own hive bins data and inside the entry.
void CheckPages(const LogEntry& entry)
{
    std::size_t data = HeaderSize + std::size_t{entry.DirtyPageCount} * PageReferenceSize;
    if (data > entry.Bytes.size())
        throw EBadLogEntry("its " + std::to_string(entry.DirtyPageCount) + " page references run past its end");
    for (std::uint32_t i = 0; i < entry.DirtyPageCount; ++i) {
        const PageReference page = PageReferenceOf(entry, i);
        if (std::uint64_t{page.Offset} + page.Size > entry.HiveBinsDataSize)
            throw EBadLogEntry("its dirty page " + std::to_string(i) + " lies outside its hive bins data");
        data += page.Size;
        if (data > entry.Bytes.size())
            throw EBadLogEntry("its dirty pages run past its end");
    }
}

class Replay {
public:
    Replay(std::vector<std::uint8_t>& hive, std::size_t largestHive) : hive_(hive), largestHive_(largestHive) {}

    // Applies a log's entries from its first on, the first bringing the
    // expected sequence number and each next one more, until they end.
    void ApplyFrom(const CandidateLog& log, std::uint32_t expected, LogReplayResult& result)
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
    void Apply(const LogEntry& entry, const CandidateLog& log, LogReplayResult& result)
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

std::optional<std::uint32_t> NewFormatLog::SequenceAt(std::size_t offset) const
{
    if (offset + HeaderSize > file_.size() ||
        !std::equal(EntrySignature.begin(), EntrySignature.end(), file_.begin() + static_cast<std::ptrdiff_t>(offset)))
        return std::nullopt;
    return ReadLittleEndian32(file_, offset + SequenceOffset);
}

LogEntry NewFormatLog::EntryAt(std::size_t offset) const
{
    const std::span<const std::uint8_t> header = file_.subspan(offset);
    const std::uint32_t size = ReadLittleEndian32(header, SizeOffset);
    if (size < HeaderSize || size % EntryAlignment != 0)
        throw EBadLogEntry("its size of " + std::to_string(size) + " bytes is no multiple of 512");
    if (size > header.size())
        throw EBadLogEntry("it runs past the end of the file, which is cut short");
    LogEntry entry;
    entry.Bytes = header.first(size);
    entry.End = offset + size;
    entry.Sequence = ReadLittleEndian32(header, SequenceOffset);
    entry.HiveBinsDataSize = ReadLittleEndian32(header, HiveBinsDataSizeOffset);
    entry.TransactionsPending = (ReadLittleEndian32(header, FlagsOffset) & 1) != 0;
    entry.DirtyPageCount = ReadLittleEndian32(header, DirtyPageCountOffset);
    if (Marvin32(entry.Bytes.subspan(HeaderSize), LogEntryHashSeed) != ReadLittleEndian64(header, Hash1Offset) ||
        Marvin32(entry.Bytes.first(Hash2Covers), LogEntryHashSeed) != ReadLittleEndian64(header, Hash2Offset))
        throw EBadLogEntry("its hash does not match");
    if (entry.HiveBinsDataSize == 0 || entry.HiveBinsDataSize % HiveBinAlignment != 0)
        throw EBadLogEntry("its hive bins data size of " + std::to_string(entry.HiveBinsDataSize) +
                           " bytes is no multiple of 4096");
    CheckPages(entry);
    return entry;
}

void ApplyLogEntry(const LogEntry& entry, std::span<std::uint8_t> hive)
{
    std::size_t data = HeaderSize + std::size_t{entry.DirtyPageCount} * PageReferenceSize;
    for (std::uint32_t i = 0; i < entry.DirtyPageCount; ++i) {
        const PageReference page = PageReferenceOf(entry, i);
        std::copy_n(entry.Bytes.begin() + static_cast<std::ptrdiff_t>(data), page.Size,
                    hive.begin() + static_cast<std::ptrdiff_t>(HiveBaseBlockSize + page.Offset));
        data += page.Size;
    }
}

void ReplayNewFormatLogs(std::vector<std::uint8_t>& hive, const HiveBaseBlock& primary, std::vector<CandidateLog> logs,
                         std::size_t largestHive, LogReplayResult& result)
{
    std::stable_sort(logs.begin(), logs.end(), [](const CandidateLog& a, const CandidateLog& b) {
        return a.BaseBlock.PrimarySequence < b.BaseBlock.PrimarySequence;
    });

    // A base block that is itself damaged gives way to that of the log with the latest entries, and only
    // that log is applied: the hive's own sequence numbers cannot be trusted.
    const std::vector<std::uint8_t> original(hive.begin(), hive.begin() + LogBaseBlockSize);
    std::uint32_t lowest = primary.SecondarySequence;
    if (!primary.ChecksumValid) {
        logs.erase(logs.begin(), logs.end() - 1);
        std::copy_n(logs.back().File->Bytes.begin(), LogBaseBlockSize, hive.begin());
        lowest = 0;
    }

    Replay replay(hive, largestHive);
    bool olderOnly = true;
    for (const CandidateLog& log : logs) {
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
}
