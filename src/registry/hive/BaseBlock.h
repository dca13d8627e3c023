#pragma once
// A hive's base block: the first 4,096 bytes of a primary file, whose first
// 512 bytes also head each of its transaction logs. The fields and their
// offsets are those of the registry file format document.
#include <array>
#include <cstdint>
#include <span>
#include <string>

constexpr std::size_t HiveBaseBlockSize = 4096;
// What a transaction log keeps of the base block; the checksum covers all of it but its last 4 bytes.
constexpr std::size_t LogBaseBlockSize = 512;

// The file type field: a primary file, an old-format log (2 in Windows 2000) or a new-format log.
namespace HiveFileType {
constexpr std::uint32_t Primary = 0;
constexpr std::uint32_t OldLog = 1;
constexpr std::uint32_t OldLogWindows2000 = 2;
constexpr std::uint32_t NewLog = 6;
}  // namespace HiveFileType

struct HiveBaseBlock {
    // Windows makes the two equal once a write of the primary file is complete.
    std::uint32_t PrimarySequence = 0;
    std::uint32_t SecondarySequence = 0;
    std::uint64_t LastWritten = 0;  // FILETIME; no longer kept up to date as of Windows 8.1
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    std::uint32_t FileType = 0;
    std::uint32_t RootCellOffset = 0;  // from the start of the hive bins data
    std::uint32_t HiveBinsDataSize = 0;
    // The end of the path the hive was loaded from, for debugging: UTF-8, up to its first NUL.
    std::string FileName;
    // The resource manager's GUID, which a hive and its logs share; all zero before Windows Vista.
    std::array<std::uint8_t, 16> RmId{};
    std::uint32_t Flags = 0;
    bool ChecksumValid = false;

    // Versions 1.3 to 1.6; earlier ones (Windows NT 3.x) lay cells out otherwise.
    bool VersionSupported() const { return MajorVersion == 1 && MinorVersion >= 3 && MinorVersion <= 6; }
    bool HasRmId() const;
};

bool HasHiveSignature(std::span<const std::uint8_t> bytes);

// The fields of the first 512 bytes; bytes past the end of the data read as zero.
HiveBaseBlock ReadHiveBaseBlock(std::span<const std::uint8_t> bytes);

// The XOR-32 checksum of the first 508 bytes, which never is 0 or 0xFFFFFFFF.
std::uint32_t HiveBaseBlockChecksum(std::span<const std::uint8_t> bytes);

// Makes a base block that of a clean primary file after a replay: both
// sequence numbers set, file type 0, the hive bins data size, bit 0 of the
// flags as the last log entry had it, and the checksum recomputed.
void MarkHiveBaseBlockRecovered(std::span<std::uint8_t> baseBlock, std::uint32_t sequence,
                                std::uint32_t hiveBinsDataSize, bool transactionsPending);
