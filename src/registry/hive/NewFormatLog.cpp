#include "registry/hive/NewFormatLog.h"

#include <algorithm>
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
