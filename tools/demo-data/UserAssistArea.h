#pragma once
// A UserAssist area as data, ready to be written into a registry: the subkeys
// below "...\Explorer\UserAssist" in order, each with or without its "Count"
// key and the values in it. Names are held decoded; writers store them rotated.
#include <cstdint>
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
};

using UserAssistArea = std::vector<UserAssistSubKey>;

// A REG_BINARY value holding the 16-byte record.
UserAssistFixtureValue MakeUserAssistValue(const std::string& decodedName, std::int32_t execCount,
                                           TFileTime lastExecuted);

// Writes the area below HKEY_CURRENT_USER of an in-memory registry, adding to
// what is there.
void WriteUserAssistArea(MemoryRegistrySource& registry, const UserAssistArea& area);
