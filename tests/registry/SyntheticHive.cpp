#include "SyntheticHive.h"

#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"
#include "base/TextEncoding.h"
#include "registry/hive/BaseBlock.h"
#include "registry/hive/Marvin32.h"

namespace {

constexpr std::uint32_t BinHeaderSize = 32;
constexpr std::uint32_t PageSize = 4096;
constexpr std::size_t SegmentSize = 16344;

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    WriteLittleEndian32(bytes, at, value);
}

void Put64(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value)
{
    Put32(bytes, at, static_cast<std::uint32_t>(value));
    Put32(bytes, at + 4, static_cast<std::uint32_t>(value >> 32));
}

std::vector<std::uint8_t> NameBytes(const std::string& utf8, bool utf16)
{
    if (!utf16)
        return {utf8.begin(), utf8.end()};
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : Utf8ToUtf16(utf8)) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> OffsetList(const std::vector<std::uint32_t>& offsets)
{
    std::vector<std::uint8_t> list(4 * offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i)
        Put32(list, 4 * i, offsets[i]);
    return list;
}

// A subkey list of one kind: a two-letter signature, a count, and an offset
// (with four bytes of hint or hash beside it for "lf" and "lh") per key.
std::vector<std::uint8_t> Leaf(const std::string& kind, const std::vector<std::uint32_t>& keys)
{
    const std::size_t stride = kind == "li" || kind == "ri" ? 4 : 8;
    std::vector<std::uint8_t> list(4 + stride * keys.size());
    list[0] = static_cast<std::uint8_t>(kind[0]);
    list[1] = static_cast<std::uint8_t>(kind[1]);
    Put16(list, 2, static_cast<std::uint32_t>(keys.size()));
    for (std::size_t i = 0; i < keys.size(); ++i)
        Put32(list, 4 + stride * i, keys[i]);
    return list;
}

}  // namespace

std::uint32_t SyntheticHive::AddCell(std::span<const std::uint8_t> data)
{
    const std::uint32_t offset = BinHeaderSize + static_cast<std::uint32_t>(cells_.size());
    const std::size_t size = (4 + data.size() + 7) / 8 * 8;
    cells_.resize(cells_.size() + size);
    Put32(cells_, offset - BinHeaderSize, static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)));
    std::copy(data.begin(), data.end(), cells_.begin() + (offset - BinHeaderSize + 4));
    return offset;
}

std::span<std::uint8_t> SyntheticHive::CellData(std::uint32_t offset)
{
    const std::uint32_t at = offset - BinHeaderSize;
    const std::uint32_t size = static_cast<std::uint32_t>(-static_cast<std::int32_t>(ReadLittleEndian32(cells_, at)));
    return std::span(cells_).subspan(at + 4, size - 4);
}

void SyntheticHive::Free(std::uint32_t offset)
{
    const std::uint32_t at = offset - BinHeaderSize;
    Put32(cells_, at, static_cast<std::uint32_t>(-static_cast<std::int32_t>(ReadLittleEndian32(cells_, at))));
}

SyntheticCells SyntheticHive::AddKey(const SyntheticKey& key)
{
    SyntheticCells cells;
    std::vector<std::uint32_t> subKeys;
    for (const SyntheticKey& subKey : key.SubKeys)
        subKeys.push_back(AddKey(subKey).Key);
    if (!subKeys.empty() && key.List == "ri") {
        const auto half = subKeys.begin() + static_cast<std::ptrdiff_t>(subKeys.size() / 2);
        cells.SubKeyList = AddCell(
            Leaf("ri", {AddCell(Leaf("li", {subKeys.begin(), half})), AddCell(Leaf("li", {half, subKeys.end()}))}));
    } else if (!subKeys.empty()) {
        cells.SubKeyList = AddCell(Leaf(key.List, subKeys));
    }

    std::vector<std::uint32_t> values;
    for (const SyntheticValue& value : key.Values) {
        const std::vector<std::uint8_t> name(value.Name.begin(), value.Name.end());
        std::vector<std::uint8_t> record(20 + name.size());
        record[0] = 'v';
        record[1] = 'k';
        Put16(record, 2, static_cast<std::uint32_t>(name.size()));
        const auto size = static_cast<std::uint32_t>(value.Data.size());
        if (size <= 4) {
            Put32(record, 4, size | 0x80000000);
            std::copy(value.Data.begin(), value.Data.end(), record.begin() + 8);
        } else if (size <= SegmentSize) {
            Put32(record, 4, size);
            Put32(record, 8, AddCell(value.Data));
        } else {
            std::vector<std::uint32_t> segments;
            for (std::size_t at = 0; at < size; at += SegmentSize)
                segments.push_back(AddCell(std::span(value.Data).subspan(at, std::min(SegmentSize, size - at))));
            std::vector<std::uint8_t> bigData(8);
            bigData[0] = 'd';
            bigData[1] = 'b';
            Put16(bigData, 2, static_cast<std::uint32_t>(segments.size()));
            Put32(bigData, 4, AddCell(OffsetList(segments)));
            Put32(record, 4, size);
            Put32(record, 8, AddCell(bigData));
        }
        Put32(record, 12, value.Type);
        Put16(record, 16, 1);  // the name is stored one byte per character
        std::copy(name.begin(), name.end(), record.begin() + 20);
        values.push_back(AddCell(record));
    }
    if (!values.empty())
        cells.ValueList = AddCell(OffsetList(values));

    const std::vector<std::uint8_t> name = NameBytes(key.Name, key.Utf16);
    std::vector<std::uint8_t> node(76 + name.size());
    node[0] = 'n';
    node[1] = 'k';
    Put16(node, 2, key.Utf16 ? 0 : 0x20);
    Put32(node, 20, static_cast<std::uint32_t>(subKeys.size()));
    Put32(node, 28, cells.SubKeyList);
    Put32(node, 32, 0xFFFFFFFF);
    Put32(node, 36, static_cast<std::uint32_t>(values.size()));
    Put32(node, 40, cells.ValueList);
    Put32(node, 44, 0xFFFFFFFF);
    Put32(node, 48, 0xFFFFFFFF);
    Put16(node, 72, static_cast<std::uint32_t>(name.size()));
    std::copy(name.begin(), name.end(), node.begin() + 76);
    cells.Key = AddCell(node);
    return cells;
}

std::vector<std::uint8_t> SyntheticHive::Bytes(std::uint32_t root, std::uint32_t minorVersion) const
{
    const std::uint32_t binSize =
        (BinHeaderSize + static_cast<std::uint32_t>(cells_.size()) + 4 + PageSize - 1) / PageSize * PageSize;
    std::vector<std::uint8_t> hive(HiveBaseBlockSize + binSize);
    std::memcpy(hive.data(), "regf", 4);
    Put32(hive, 4, 1);
    Put32(hive, 8, 1);
    Put32(hive, 20, 1);
    Put32(hive, 24, minorVersion);
    Put32(hive, 32, 1);
    Put32(hive, 36, root);
    Put32(hive, 40, binSize);
    Put32(hive, 44, 1);
    Put32(hive, 112, 0x5EED0001);  // an RmId, as Windows Vista and later give every hive
    Put32(hive, 508, HiveBaseBlockChecksum(hive));

    std::vector<std::uint8_t> bin(BinHeaderSize);
    std::memcpy(bin.data(), "hbin", 4);
    Put32(bin, 8, binSize);
    std::copy(bin.begin(), bin.end(), hive.begin() + HiveBaseBlockSize);
    std::copy(cells_.begin(), cells_.end(), hive.begin() + HiveBaseBlockSize + BinHeaderSize);
    // What is left of the bin is one free cell.
    const std::size_t free = HiveBaseBlockSize + BinHeaderSize + cells_.size();
    Put32(hive, free, static_cast<std::uint32_t>(hive.size() - free));
    return hive;
}

std::vector<std::uint8_t> LogEntryBetween(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                                          std::uint32_t sequence)
{
    const std::size_t binsSize = after.size() - HiveBaseBlockSize;
    std::vector<std::uint32_t> pages;
    for (std::size_t at = HiveBaseBlockSize; at < after.size(); at += PageSize)
        if (at + PageSize > before.size() || !std::equal(after.begin() + static_cast<std::ptrdiff_t>(at),
                                                         after.begin() + static_cast<std::ptrdiff_t>(at + PageSize),
                                                         before.begin() + static_cast<std::ptrdiff_t>(at)))
            pages.push_back(static_cast<std::uint32_t>(at - HiveBaseBlockSize));
    std::vector<std::uint8_t> entry(40 + 8 * pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Put32(entry, 40 + 8 * i, pages[i]);
        Put32(entry, 44 + 8 * i, PageSize);
    }
    for (const std::uint32_t page : pages)
        entry.insert(entry.end(), after.begin() + HiveBaseBlockSize + page,
                     after.begin() + HiveBaseBlockSize + page + PageSize);
    entry.resize((entry.size() + 511) / 512 * 512);
    std::memcpy(entry.data(), "HvLE", 4);
    Put32(entry, 4, static_cast<std::uint32_t>(entry.size()));
    Put32(entry, 12, sequence);
    Put32(entry, 16, static_cast<std::uint32_t>(binsSize));
    Put32(entry, 20, static_cast<std::uint32_t>(pages.size()));
    Put64(entry, 24, Marvin32(std::span(entry).subspan(40), LogEntryHashSeed));
    Put64(entry, 32, Marvin32(std::span(entry).first(32), LogEntryHashSeed));
    return entry;
}

std::vector<std::uint8_t> NewFormatLogOf(std::span<const std::uint8_t> hive, std::uint32_t sequence,
                                         const std::vector<std::vector<std::uint8_t>>& entries)
{
    std::vector<std::uint8_t> log(hive.begin(), hive.begin() + LogBaseBlockSize);
    Put32(log, 4, sequence);
    Put32(log, 8, sequence);
    Put32(log, 28, 6);
    Put32(log, 508, HiveBaseBlockChecksum(log));
    for (const std::vector<std::uint8_t>& entry : entries)
        log.insert(log.end(), entry.begin(), entry.end());
    return log;
}

std::vector<std::uint8_t> OldFormatLogBetween(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after)
{
    std::vector<std::uint8_t> log(before.begin(), before.begin() + LogBaseBlockSize);
    Put32(log, 8, ReadLittleEndian32(log, 4));
    Put32(log, 28, 1);
    Put32(log, 508, HiveBaseBlockChecksum(log));
    const std::size_t pages = (after.size() - HiveBaseBlockSize) / 512;
    log.insert(log.end(), {'D', 'I', 'R', 'T'});
    const std::size_t bitmap = log.size();
    log.resize(bitmap + (pages + 7) / 8);
    std::vector<std::uint8_t> dirty;
    for (std::size_t at = HiveBaseBlockSize; at < after.size(); at += PageSize) {
        if (std::equal(after.begin() + static_cast<std::ptrdiff_t>(at),
                       after.begin() + static_cast<std::ptrdiff_t>(at + PageSize),
                       before.begin() + static_cast<std::ptrdiff_t>(at)))
            continue;
        log[bitmap + (at - HiveBaseBlockSize) / PageSize] = 0xFF;  // eight pages of 512 bytes
        dirty.insert(dirty.end(), after.begin() + static_cast<std::ptrdiff_t>(at),
                     after.begin() + static_cast<std::ptrdiff_t>(at + PageSize));
    }
    log.resize((log.size() + 511) / 512 * 512);
    log.insert(log.end(), dirty.begin(), dirty.end());
    return log;
}

void MarkDirty(std::vector<std::uint8_t>& hive)
{
    Put32(hive, 8, ReadLittleEndian32(hive, 4) - 1);
    Put32(hive, 508, HiveBaseBlockChecksum(hive));
}
