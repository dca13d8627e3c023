#pragma once
// A UserAssist area as data, ready to be written into a registry: the subkeys
// below "...\Explorer\UserAssist" in order, each with its "Version" if it has
// one, with or without its "Count" key, and the values in it. Names are held
// decoded; writers store them rotated.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/UserAssistValue.h"
#include "registry/MemoryRegistrySource.h"

struct UserAssistFixtureValue {
    std::string DecodedName;
    std::uint32_t Type = RegistryType::Binary;
    std::vector<std::uint8_t> Data;
};

struct UserAssistSubKey {
    std::string Name;
    bool HasCountKey = true;
    std::vector<UserAssistFixtureValue> Values;
    std::optional<std::uint32_t> Version;  // a REG_DWORD; 5 marks the current layout
};

// The "Version" of the subkeys that Windows 7 and later write.
inline constexpr std::uint32_t CurrentLayoutVersion = 5;

using UserAssistArea = std::vector<UserAssistSubKey>;

// A REG_BINARY value holding the 16-byte record.
UserAssistFixtureValue MakeUserAssistValue(const std::string& decodedName, std::int32_t execCount,
                                           TFileTime lastExecuted);

// A REG_BINARY value holding the 72-byte record of the current layout.
UserAssistFixtureValue MakeCurrentUserAssistValue(const std::string& decodedName, const UserAssistRecord& record);

// The marker Windows writes into every current-layout "Count" key it uses.
UserAssistFixtureValue MakeCurrentLayoutMarker();

// The current layout's 1,612-byte "UEME_CTLSESSION" value for a key's values:
// their totals of runs, focus count and focus time, then the entries with the
// most runs, the most focus switches and the most focus time, each with its
// three counts and its name in UTF-16 (the names are ASCII here).
UserAssistFixtureValue MakeCurrentSessionValue(const std::vector<UserAssistFixtureValue>& values);

// The DWORD data of a subkey's "Version".
std::vector<std::uint8_t> VersionData(std::uint32_t version);

// Writes the area below HKEY_CURRENT_USER of an in-memory registry, adding to
// what is there.
void WriteUserAssistArea(MemoryRegistrySource& registry, const UserAssistArea& area);
