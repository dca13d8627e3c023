#include "registry/hive/BaseBlock.h"

#include <algorithm>
#include <string_view>

#include "base/LittleEndian.h"
#include "base/TextEncoding.h"

namespace {

constexpr std::string_view Signature = "regf";
constexpr std::size_t PrimarySequenceOffset = 4;
constexpr std::size_t SecondarySequenceOffset = 8;
constexpr std::size_t LastWrittenOffset = 12;
constexpr std::size_t MajorVersionOffset = 20;
constexpr std::size_t MinorVersionOffset = 24;
constexpr std::size_t FileTypeOffset = 28;
constexpr std::size_t RootCellOffsetOffset = 36;
constexpr std::size_t HiveBinsDataSizeOffset = 40;
constexpr std::size_t FileNameOffset = 48;
constexpr std::size_t FileNameSize = 64;
constexpr std::size_t RmIdOffset = 112;
constexpr std::size_t FlagsOffset = 144;
constexpr std::size_t ChecksumOffset = 508;
// The flag a log entry carries over: the kernel's transaction manager had locked the hive.
constexpr std::uint32_t TransactionsPendingFlag = 0x1;

// The UTF-16LE name field up to its first NUL character.
std::string FileNameField(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() <= FileNameOffset)
        return {};
    std::span<const std::uint8_t> field =
        bytes.subspan(FileNameOffset, std::min(FileNameSize, bytes.size() - FileNameOffset));
    std::size_t length = 0;
    while (length + 1 < field.size() && (field[length] != 0 || field[length + 1] != 0))
        length += 2;
    return Utf16LeToUtf8(field.first(length));
}

}  // namespace

bool HiveBaseBlock::HasRmId() const
{
    return std::any_of(RmId.begin(), RmId.end(), [](std::uint8_t byte) { return byte != 0; });
}

bool HasHiveSignature(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= Signature.size() && std::equal(Signature.begin(), Signature.end(), bytes.begin());
}

HiveBaseBlock ReadHiveBaseBlock(std::span<const std::uint8_t> bytes)
{
    HiveBaseBlock block;
    block.PrimarySequence = ReadLittleEndian32(bytes, PrimarySequenceOffset);
    block.SecondarySequence = ReadLittleEndian32(bytes, SecondarySequenceOffset);
    block.LastWritten = ReadLittleEndian64(bytes, LastWrittenOffset);
    block.MajorVersion = ReadLittleEndian32(bytes, MajorVersionOffset);
    block.MinorVersion = ReadLittleEndian32(bytes, MinorVersionOffset);
    block.FileType = ReadLittleEndian32(bytes, FileTypeOffset);
    block.RootCellOffset = ReadLittleEndian32(bytes, RootCellOffsetOffset);
    block.HiveBinsDataSize = ReadLittleEndian32(bytes, HiveBinsDataSizeOffset);
    block.FileName = FileNameField(bytes);
    for (std::size_t i = 0; i < block.RmId.size() && RmIdOffset + i < bytes.size(); ++i)
        block.RmId[i] = bytes[RmIdOffset + i];
    block.Flags = ReadLittleEndian32(bytes, FlagsOffset);
    block.ChecksumValid =
        bytes.size() >= LogBaseBlockSize && ReadLittleEndian32(bytes, ChecksumOffset) == HiveBaseBlockChecksum(bytes);
    return block;
}

std::uint32_t HiveBaseBlockChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint32_t checksum = 0;
    for (std::size_t offset = 0; offset < ChecksumOffset; offset += 4)
        checksum ^= ReadLittleEndian32(bytes, offset);
    if (checksum == 0xFFFFFFFF)
        return 0xFFFFFFFE;
    return checksum == 0 ? 1 : checksum;
}

void MarkHiveBaseBlockRecovered(std::span<std::uint8_t> baseBlock, std::uint32_t sequence,
                                std::uint32_t hiveBinsDataSize, bool transactionsPending)
{
    WriteLittleEndian32(baseBlock, PrimarySequenceOffset, sequence);
    WriteLittleEndian32(baseBlock, SecondarySequenceOffset, sequence);
    WriteLittleEndian32(baseBlock, FileTypeOffset, HiveFileType::Primary);
    WriteLittleEndian32(baseBlock, HiveBinsDataSizeOffset, hiveBinsDataSize);
    const std::uint32_t flags = ReadLittleEndian32(baseBlock, FlagsOffset);
    WriteLittleEndian32(baseBlock, FlagsOffset,
                        transactionsPending ? flags | TransactionsPendingFlag : flags & ~TransactionsPendingFlag);
    WriteLittleEndian32(baseBlock, ChecksumOffset, HiveBaseBlockChecksum(baseBlock));
}
