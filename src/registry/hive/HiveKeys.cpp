#include "registry/hive/HiveKeys.h"

#include <algorithm>
#include <string_view>

#include "base/LittleEndian.h"
#include "base/TextEncoding.h"

namespace {

// Key node fields.
constexpr std::size_t KeyFlagsOffset = 2;
constexpr std::size_t SubKeyCountOffset = 20;
constexpr std::size_t SubKeyListOffset = 28;
constexpr std::size_t ValueCountOffset = 36;
constexpr std::size_t ValueListOffset = 40;
constexpr std::size_t KeyNameLengthOffset = 72;
constexpr std::size_t KeyNameOffset = 76;
constexpr std::uint32_t KeyNameIsCompressed = 0x0020;

// Key value fields.
constexpr std::size_t ValueNameLengthOffset = 2;
constexpr std::size_t DataSizeOffset = 4;
constexpr std::size_t DataFieldOffset = 8;
constexpr std::size_t TypeOffset = 12;
constexpr std::size_t ValueFlagsOffset = 16;
constexpr std::size_t ValueNameOffset = 20;
constexpr std::uint32_t ValueNameIsCompressed = 0x0001;
constexpr std::uint32_t DataIsResident = 0x80000000;
constexpr std::uint32_t MaxResidentSize = 4;

// Big data: a segment count and a list of segment cells, each full but the last.
constexpr std::size_t SegmentCountOffset = 2;
constexpr std::size_t SegmentListOffset = 4;
constexpr std::uint32_t SegmentSize = 16344;
constexpr std::uint32_t FirstVersionWithBigData = 4;

// A name of length bytes at an offset of a record, one byte per character
// (Latin-1, which is how Windows widens them) or UTF-16LE.
std::string RecordName(std::span<const std::uint8_t> record, std::size_t offset, std::size_t length, bool compressed,
                       std::uint32_t cellOffset)
{
    if (offset + length > record.size())
        throw EHiveDamaged("the name of the record at offset " + CellOffsetText(cellOffset) + " runs past its cell");
    const std::span<const std::uint8_t> name = record.subspan(offset, length);
    if (compressed)
        return Latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
    return Utf16LeToUtf8(name);
}

}  // namespace

HiveKeyNode ReadKeyNode(const HiveCells& cells, std::uint32_t offset)
{
    const std::span<const std::uint8_t> record = cells.Record(offset, "nk");
    if (record.size() < KeyNameOffset)
        throw EHiveDamaged("the key node at offset " + CellOffsetText(offset) + " is cut short");
    HiveKeyNode key;
    key.Name = RecordName(record, KeyNameOffset, ReadLittleEndian16(record, KeyNameLengthOffset),
                          (ReadLittleEndian16(record, KeyFlagsOffset) & KeyNameIsCompressed) != 0, offset);
    key.SubKeyCount = ReadLittleEndian32(record, SubKeyCountOffset);
    key.SubKeyListOffset = ReadLittleEndian32(record, SubKeyListOffset);
    key.ValueCount = ReadLittleEndian32(record, ValueCountOffset);
    key.ValueListOffset = ReadLittleEndian32(record, ValueListOffset);
    return key;
}

HiveValueRecord ReadValueRecord(const HiveCells& cells, std::uint32_t offset)
{
    const std::span<const std::uint8_t> record = cells.Record(offset, "vk");
    if (record.size() < ValueNameOffset)
        throw EHiveDamaged("the value record at offset " + CellOffsetText(offset) + " is cut short");
    HiveValueRecord value;
    value.Name = RecordName(record, ValueNameOffset, ReadLittleEndian16(record, ValueNameLengthOffset),
                            (ReadLittleEndian16(record, ValueFlagsOffset) & ValueNameIsCompressed) != 0, offset);
    const std::uint32_t size = ReadLittleEndian32(record, DataSizeOffset);
    value.Resident = (size & DataIsResident) != 0;
    value.DataSize = size & ~DataIsResident;
    value.DataField = ReadLittleEndian32(record, DataFieldOffset);
    value.Type = ReadLittleEndian32(record, TypeOffset);
    if (value.Resident && value.DataSize > MaxResidentSize)
        throw EHiveDamaged("the value record at offset " + CellOffsetText(offset) + " keeps " +
                           std::to_string(value.DataSize) + " bytes of data in a 4-byte field");
    return value;
}

std::vector<std::uint8_t> ReadValueData(const HiveCells& cells, const HiveValueRecord& value,
                                        std::uint32_t minorVersion)
{
    std::vector<std::uint8_t> data;
    if (value.Resident) {
        for (std::uint32_t i = 0; i < value.DataSize; ++i)
            data.push_back(static_cast<std::uint8_t>(value.DataField >> (8 * i)));
        return data;
    }
    if (value.DataSize == 0)
        return data;
    const std::span<const std::uint8_t> cell = cells.Cell(value.DataField);
    const bool bigData = minorVersion >= FirstVersionWithBigData && value.DataSize > SegmentSize &&
                         cell.size() >= SegmentListOffset + 4 && cell[0] == 'd' && cell[1] == 'b';
    if (!bigData) {
        if (cell.size() < value.DataSize)
            throw EHiveDamaged("the data cell at offset " + CellOffsetText(value.DataField) + " holds " +
                               std::to_string(cell.size()) + " of its " + std::to_string(value.DataSize) + " bytes");
        return {cell.begin(), cell.begin() + value.DataSize};
    }
    const std::uint32_t segments = ReadLittleEndian16(cell, SegmentCountOffset);
    if (std::uint64_t{segments} * SegmentSize < value.DataSize)
        throw EHiveDamaged("the big data at offset " + CellOffsetText(value.DataField) + " has " +
                           std::to_string(segments) + " segments, too few for " + std::to_string(value.DataSize) +
                           " bytes");
    std::vector<std::string> problems;
    const std::vector<std::uint32_t> list =
        cells.OffsetList(ReadLittleEndian32(cell, SegmentListOffset), segments, problems);
    if (!problems.empty())
        throw EHiveDamaged(problems.front());
    data.reserve(value.DataSize);
    for (const std::uint32_t segment : list) {
        if (data.size() == value.DataSize)
            break;
        const std::size_t wanted = std::min<std::size_t>(SegmentSize, value.DataSize - data.size());
        const std::span<const std::uint8_t> part = cells.Cell(segment);
        if (part.size() < wanted)
            throw EHiveDamaged("the data segment at offset " + CellOffsetText(segment) + " is cut short");
        data.insert(data.end(), part.begin(), part.begin() + static_cast<std::ptrdiff_t>(wanted));
    }
    return data;
}
