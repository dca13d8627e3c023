#pragma once
// A registry hive file, such as a user's NTUSER.DAT copied off a machine, as a
// read-only registry source, read by the program's own hive reader
// (registry/hive/). The hive's root key stands for HKEY_CURRENT_USER (or for
// a key below it, see MountAt); other roots are absent. Names come out in
// UTF-8: a hive stores each name either in UTF-16 or one byte per character,
// and those bytes are Latin-1.
//
// The seam can only call a key or value that cannot be read absent, so every
// piece of damage met on the way is kept in Problems() for the caller to tell
// the user.
#include <map>
#include <set>
#include <vector>

#include "registry/RegistrySource.h"
#include "registry/hive/BaseBlock.h"
#include "registry/hive/HiveCells.h"
#include "registry/hive/HiveDamage.h"

class HiveRegistrySource final : public RegistrySource {
public:
    // The bytes of a primary file, as read or as recovered from its logs.
    // ENotAHive when they are no hive; EHiveDamaged when even the base block
    // cannot serve.
    explicit HiveRegistrySource(std::vector<std::uint8_t> hive);
    HiveRegistrySource(const HiveRegistrySource&) = delete;
    HiveRegistrySource& operator=(const HiveRegistrySource&) = delete;

    // Makes the root key stand for the key at this path below
    // HKEY_CURRENT_USER, for a hive that holds only part of a user's tree.
    void MountAt(std::string currentUserPath);

    const HiveBaseBlock& BaseBlock() const { return baseBlock_; }

    // Every piece of damage met so far, each told once, oldest first.
    const std::vector<std::string>& Problems() const { return problems_; }

    std::optional<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) override;
    std::vector<std::string> SubKeyNames(RegistryKey key) override;
    std::vector<std::string> ValueNames(RegistryKey key) override;
    std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& name) override;
    bool ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size) override;
    std::optional<RegistryIndexedValue> ReadValueAt(RegistryKey key, std::uint32_t index) override;
    void CloseKey(RegistryKey key) override;

private:
    struct ListedValue {
        std::uint32_t Offset;
        std::string Name;
    };
    struct OpenedKey {
        std::uint32_t Offset;
        std::string Path;
        std::optional<std::vector<ListedValue>> Values;  // read once asked for
    };

    void Note(const std::string& problem);
    std::optional<std::string> PathInHive(const std::string& path) const;
    OpenedKey* Find(RegistryKey key);
    std::optional<std::uint32_t> SubKey(std::uint32_t parent, const std::string& parentPath, const std::string& name);
    std::vector<std::uint32_t> SubKeyOffsets(std::uint32_t key, const std::string& path);
    // The values of a key whose records can be read, in the order of its list.
    const std::vector<ListedValue>& Values(OpenedKey& key);
    RegistryIndexedValue ReadValueAt(const OpenedKey& key, const ListedValue& value);

    std::vector<std::uint8_t> bytes_;
    HiveBaseBlock baseBlock_;
    HiveCells cells_;
    std::string mount_;
    std::map<std::uintptr_t, OpenedKey> open_;
    std::uintptr_t nextHandle_ = 1;
    std::vector<std::string> problems_;
    std::set<std::string> noted_;
};
