#pragma once
// Decoding of one value of a UserAssist "Count" key: the letter-rotated name
// (prefix, colon, object text) and the 16-byte record (run count, last-run time).
#include <array>
#include <cstdint>
#include <string>

#include "history/StartItem.h"

// Rotates the letters A-Z and a-z by 13 places; every other byte stays. Its
// own inverse: it encodes names as well as decoding them.
std::string Rot13(const std::string& text);

// The kind of a decoded prefix: the first of the known prefixes of equal length
// that matches ignoring the case of a-z only; sitOther when none does.
TStartItemType StartItemTypeOfPrefix(const std::string& prefix);

// Replaces every "%csidl2%" with "[Start Menu]", then every "%csidl6%" with
// "[Favorites]" (exactly these lower-case forms).
std::string ReplaceFolderPlaceholders(std::string text);

constexpr std::uint32_t UserAssistRecordSize = 16;
using UserAssistRecordBytes = std::array<std::uint8_t, UserAssistRecordSize>;

// Little-endian layout: 4 bytes not interpreted, the signed run count at offset
// 4, the last-run file time at offset 8 (low half) and 12 (high half).
struct UserAssistRecord {
    std::int32_t ExecCount = 0;
    TFileTime LastExecuted;
};

UserAssistRecord DecodeUserAssistRecord(const UserAssistRecordBytes& bytes);
UserAssistRecordBytes EncodeUserAssistRecord(const UserAssistRecord& record);

// The entry of a value with its stored (rotated) name and record, all five
// fields set.
TStartItem DecodeUserAssistValue(const std::string& storedName, const UserAssistRecord& record);
