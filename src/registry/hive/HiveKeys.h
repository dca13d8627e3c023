#pragma once
// Key nodes ("nk") and key values ("vk") of a hive, and the data of a value:
// kept in the value record itself, in a cell of its own, or in the segments of
// a big-data record ("db"). Damage raises EHiveDamaged, naming the offset.
#include <cstdint>
#include <string>
#include <vector>

#include "registry/hive/HiveCells.h"

struct HiveKeyNode {
    std::string Name;  // UTF-8; stored one byte per character (Latin-1) or in UTF-16LE
    std::uint32_t SubKeyCount = 0;
    std::uint32_t SubKeyListOffset = NoCell;
    std::uint32_t ValueCount = 0;
    std::uint32_t ValueListOffset = NoCell;
};

struct HiveValueRecord {
    std::string Name;  // UTF-8, as for keys; "" is the key's default value
    std::uint32_t Type = 0;
    std::uint32_t DataSize = 0;
    bool Resident = false;        // the data, at most 4 bytes, lies in the offset field itself
    std::uint32_t DataField = 0;  // the data's cell, or the resident data
};

HiveKeyNode ReadKeyNode(const HiveCells& cells, std::uint32_t offset);
HiveValueRecord ReadValueRecord(const HiveCells& cells, std::uint32_t offset);
// Big data exists as of hive version 1.4; before it, large data fills one cell.
std::vector<std::uint8_t> ReadValueData(const HiveCells& cells, const HiveValueRecord& value,
                                        std::uint32_t minorVersion);
