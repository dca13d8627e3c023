#pragma once
// Small hives and transaction logs built cell by cell, for the tests of the
// hive reader and the seeds of its fuzz targets: the shapes no real hive here
// has on the way to UserAssist ("li" and "ri" lists, big data, UTF-16 names),
// and damage placed exactly.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct SyntheticValue {
    std::string Name;  // Latin-1 bytes, stored one byte per character
    std::uint32_t Type = 3;
    std::vector<std::uint8_t> Data;  // at most 4 bytes lie in the record; more than 16,344 become big data
};

struct SyntheticKey {
    std::string Name;         // UTF-8
    bool Utf16 = false;       // else stored one byte per character (Latin-1)
    std::string List = "lh";  // "lf", "lh", "li", or "ri" (two "li" leaves)
    std::vector<SyntheticKey> SubKeys;
    std::vector<SyntheticValue> Values;
};

struct SyntheticCells {
    std::uint32_t Key = 0;
    std::uint32_t SubKeyList = 0xFFFFFFFF;
    std::uint32_t ValueList = 0xFFFFFFFF;
};

class SyntheticHive {
public:
    // An allocated cell holding the data; its offset from the start of the hive bins data.
    std::uint32_t AddCell(std::span<const std::uint8_t> data);
    // A key with its subkeys and values, each in cells of their own.
    SyntheticCells AddKey(const SyntheticKey& key);

    // The data of a cell already added, to damage it.
    std::span<std::uint8_t> CellData(std::uint32_t offset);
    // Marks a cell already added unallocated.
    void Free(std::uint32_t offset);

    // A clean primary file: base block (sequence numbers 1, the root cell), then one hive bin.
    std::vector<std::uint8_t> Bytes(std::uint32_t root, std::uint32_t minorVersion = 5) const;

private:
    std::vector<std::uint8_t> cells_;  // the hive bin's cells, after its 32-byte header
};

// A new-format log entry that turns hive before into hive after: every
// 4,096-byte page of the hive bins data that differs, both hashes set.
std::vector<std::uint8_t> LogEntryBetween(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                                          std::uint32_t sequence);
// A new-format log of the hive: its base block (file type 6) with this
// primary sequence number, then the entries.
std::vector<std::uint8_t> NewFormatLogOf(std::span<const std::uint8_t> hive, std::uint32_t sequence,
                                         const std::vector<std::vector<std::uint8_t>>& entries);
// An old-format log (Windows XP to 8) that turns hive before into hive after,
// of the same size: before's base block with file type 1 and both sequence
// numbers its primary one, a dirty vector that marks each 4,096-byte block
// that differs as eight pages, as Windows does, and those pages of after.
std::vector<std::uint8_t> OldFormatLogBetween(std::span<const std::uint8_t> before,
                                              std::span<const std::uint8_t> after);
// A hive marked dirty: the secondary sequence number one below the primary.
void MarkDirty(std::vector<std::uint8_t>& hive);
