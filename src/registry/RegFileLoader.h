#pragma once
// Fills an in-memory registry from a registry export (.reg), deletions
// included, so that every reader of the registry seam can read an export.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "registry/MemoryRegistrySource.h"
#include "registry/RegFile.h"

// Where a key of an export belongs: a root and the path below it, or nothing
// to pass the key and its values over.
using RegFileKeyPlace = std::optional<std::pair<RegistryRoot, std::string>>;
using RegFileKeyPlacer = std::function<RegFileKeyPlace(const std::string& exportedPath)>;

// The roots the in-memory registry holds, by their names and abbreviations
// (HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM, HKEY_CLASSES_ROOT or
// HKCR), letters compared without case; nothing for any other root.
RegFileKeyPlace StandardKeyPlace(const std::string& exportedPath);

// Raises what ReadRegFile raises; what was read before an error stays loaded.
void LoadRegFile(std::span<const std::uint8_t> file, MemoryRegistrySource& registry,
                 const RegFileKeyPlacer& place = StandardKeyPlace);
