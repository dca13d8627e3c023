#include "registry/hive/OldFormatLog.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/LittleEndian.h"
#include "registry/hive/HiveCells.h"

namespace {

constexpr std::size_t DirtyVectorOffset = LogBaseBlockSize;
constexpr std::string_view DirtyVectorSignature = "DIRT";
constexpr std::size_t BitmapOffset = DirtyVectorOffset + DirtyVectorSignature.size();
constexpr std::uint32_t PageSize = 512;
constexpr std::size_t FirstBinTimestampOffset = HiveBaseBlockSize + 20;
constexpr std::uint32_t BinHeaderSize = 32;
constexpr std::uint32_t SmallestBin = 4096;

std::size_t BitmapBytes(std::uint32_t hiveBinsDataSize)
{
    return (hiveBinsDataSize / PageSize + 7) / 8;
}

// Where the pages begin: the sector after the dirty vector.
std::size_t FirstPageOffset(std::uint32_t hiveBinsDataSize)
{
    return (BitmapOffset + BitmapBytes(hiveBinsDataSize) + PageSize - 1) / PageSize * PageSize;
}

// The page numbers whose bits are set, counting from the least significant bit of each byte.
std::vector<std::uint32_t> DirtyPages(std::span<const std::uint8_t> log, std::uint32_t hiveBinsDataSize)
{
    std::vector<std::uint32_t> pages;
    for (std::uint32_t page = 0; page < hiveBinsDataSize / PageSize; ++page)
        if (log[BitmapOffset + page / 8] & (1u << (page % 8)))
            pages.push_back(page);
    return pages;
}

// Replays one log: its pages, a run of contiguous pages inside one hive bin at a time.
class OldFormatReplay {
public:
    OldFormatReplay(std::vector<std::uint8_t>& hive, const CandidateLog& log)
        : hive_(hive),
          log_(log.File->Bytes),
          binsSize_(log.BaseBlock.HiveBinsDataSize),
          pages_(DirtyPages(log_, binsSize_)),
          firstPage_(FirstPageOffset(binsSize_)),
          pagesHeld_(log_.size() > firstPage_ ? (log_.size() - firstPage_) / PageSize : 0)
    {
        hive_.resize(std::max(hive_.size(), HiveBaseBlockSize + binsSize_));
    }

    std::uint32_t DirtyPageCount() const { return static_cast<std::uint32_t>(pages_.size()); }

    // The pages written before the first bin that is damaged or cut short; why it stopped, if it did.
    std::uint32_t Apply(std::optional<std::string>& stop)
    {
        std::uint32_t bin = 0;  // where the bin that holds the next page begins, from the start of the bins
        std::size_t next = 0;
        while (next < pages_.size()) {
            const std::uint32_t at = pages_[next] * PageSize;
            std::uint32_t binSize = 0;
            // The bins before this page are as the replay leaves them; so is the
            // header of its own bin, unless the page itself brings it.
            for (;;) {
                const std::span<const std::uint8_t> header = bin == at ? PageData(next) : HiveBins().subspan(bin);
                if (const std::optional<std::string> problem = BinProblem(header, bin, binSize)) {
                    stop = std::string(bin == at ? "the dirty " : "the ") + "hive bin at offset " +
                           CellOffsetText(bin) + " " + *problem;
                    return static_cast<std::uint32_t>(next);
                }
                if (bin + binSize > at)
                    break;
                bin += binSize;
            }
            std::size_t end = next + 1;
            while (end < pages_.size() && pages_[end] == pages_[end - 1] + 1 && pages_[end] * PageSize < bin + binSize)
                ++end;
            if (end > pagesHeld_) {
                stop = "the log ends before its dirty page " + std::to_string(pagesHeld_ + 1) + " of " +
                       std::to_string(pages_.size());
                return static_cast<std::uint32_t>(next);
            }
            for (; next < end; ++next)
                std::copy_n(PageData(next).begin(), PageSize,
                            hive_.begin() + static_cast<std::ptrdiff_t>(HiveBaseBlockSize + pages_[next] * PageSize));
        }
        return static_cast<std::uint32_t>(pages_.size());
    }

    std::uint32_t HiveBinsDataSize() const { return binsSize_; }

private:
    std::span<const std::uint8_t> HiveBins() const
    {
        return std::span<const std::uint8_t>(hive_).subspan(HiveBaseBlockSize, binsSize_);
    }

    // The k-th page of the log; nothing past what the file holds.
    std::span<const std::uint8_t> PageData(std::size_t k) const
    {
        return k < pagesHeld_ ? log_.subspan(firstPage_ + k * PageSize, PageSize) : std::span<const std::uint8_t>();
    }

    // What is wrong with the header of the bin at this offset, if anything; its size otherwise.
    std::optional<std::string> BinProblem(std::span<const std::uint8_t> header, std::uint32_t offset,
                                          std::uint32_t& size) const
    {
        if (header.size() < BinHeaderSize || !std::equal(header.begin(), header.begin() + 4, "hbin"))
            return "has no \"hbin\" signature";
        size = ReadLittleEndian32(header, 8);
        if (ReadLittleEndian32(header, 4) != offset)
            return "gives its offset as " + CellOffsetText(ReadLittleEndian32(header, 4));
        if (size < SmallestBin || size > binsSize_ - offset)
            return "has a size of " + std::to_string(size) + " bytes";
        return std::nullopt;
    }

    std::vector<std::uint8_t>& hive_;
    std::span<const std::uint8_t> log_;
    std::uint32_t binsSize_;
    std::vector<std::uint32_t> pages_;
    std::size_t firstPage_;
    std::size_t pagesHeld_;  // how many pages the file has room for
};

}  // namespace

std::optional<std::string> OldFormatLogRefusal(std::span<const std::uint8_t> log, const HiveBaseBlock& logBase,
                                               std::span<const std::uint8_t> hive, const HiveBaseBlock& primary)
{
    if (logBase.PrimarySequence != logBase.SecondarySequence)
        return "its sequence numbers differ";
    if (log.size() < BitmapOffset ||
        !std::equal(DirtyVectorSignature.begin(), DirtyVectorSignature.end(), log.begin() + DirtyVectorOffset))
        return "it has no \"DIRT\" dirty vector";
    if (logBase.HiveBinsDataSize % PageSize != 0 || BitmapOffset + BitmapBytes(logBase.HiveBinsDataSize) > log.size())
        return "its dirty vector does not cover its hive bins data";
    const std::uint64_t written =
        primary.ChecksumValid ? primary.LastWritten : ReadLittleEndian64(hive, FirstBinTimestampOffset);
    if (logBase.LastWritten != written)
        return "it was written at another time than the hive";
    return std::nullopt;
}

void ReplayOldFormatLog(std::vector<std::uint8_t>& hive, const HiveBaseBlock& primary,
                        const std::vector<CandidateLog>& logs, LogReplayResult& result)
{
    // Of two valid logs, the one written last; of two written at once, the first named.
    const CandidateLog& log = *std::max_element(
        logs.begin(), logs.end(),
        [](const CandidateLog& a, const CandidateLog& b) { return a.BaseBlock.LastWritten < b.BaseBlock.LastWritten; });
    const std::size_t originalSize = hive.size();
    OldFormatReplay replay(hive, log);
    result.PagesDirty = replay.DirtyPageCount();
    result.PagesApplied = replay.Apply(result.Stop);
    if (result.PagesApplied == 0) {  // nothing written, but the hive may have been made room in
        hive.resize(originalSize);
        result.NothingApplied = result.Stop ? *std::exchange(result.Stop, std::nullopt) : "its log marks no page dirty";
        return;
    }
    result.FilesApplied = {log.File->Name};
    // A damaged base block gives way to the log's copy, made when the log was.
    if (!primary.ChecksumValid)
        std::copy_n(log.File->Bytes.begin(), LogBaseBlockSize, hive.begin());
    const HiveBaseBlock recovered = ReadHiveBaseBlock(hive);
    hive.resize(HiveBaseBlockSize + replay.HiveBinsDataSize());
    MarkHiveBaseBlockRecovered(std::span(hive).first(HiveBaseBlockSize), recovered.PrimarySequence,
                               replay.HiveBinsDataSize(), (recovered.Flags & 1) != 0);
}
