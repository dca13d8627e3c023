#pragma once
// A registry hive file, such as a user's NTUSER.DAT copied off a machine, as a
// read-only registry source, read through libregf. The hive's root key stands
// for HKEY_CURRENT_USER (or for a key below it, see MountAt); other roots are
// absent. Names come out in UTF-8: a hive stores each name either in UTF-16 or
// one byte per character, and those bytes are Latin-1.
//
// The seam can only call a key or value that cannot be read absent, so every
// error and corruption that libregf reports on the way is kept in Problems()
// for the caller to tell the user.
#include <memory>
#include <vector>

#include "base/Exception.h"
#include "registry/RegistrySource.h"

// The bytes do not begin with a hive's signature.
class ENotAHive : public Exception {
public:
    using Exception::Exception;
};

// libregf cannot open the hive at all; the message says why.
class EHiveDamaged : public Exception {
public:
    using Exception::Exception;
};

class HiveRegistrySource final : public RegistrySource {
public:
    // ENotAHive or EHiveDamaged when the bytes cannot serve as a hive.
    explicit HiveRegistrySource(std::vector<std::uint8_t> hive);
    ~HiveRegistrySource() override;
    HiveRegistrySource(const HiveRegistrySource&) = delete;
    HiveRegistrySource& operator=(const HiveRegistrySource&) = delete;

    // Makes the root key stand for the key at this path below
    // HKEY_CURRENT_USER, for a hive that holds only part of a user's tree.
    void MountAt(std::string currentUserPath);

    // False when the header's two sequence numbers differ: Windows did not
    // finish writing the file, and changes it kept only in the hive's
    // transaction logs are not in it.
    bool ClosedCleanly() const;

    // Every error and corruption met so far, each told once, oldest first.
    std::vector<std::string> Problems() const;

    std::optional<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) override;
    std::vector<std::string> SubKeyNames(RegistryKey key) override;
    std::vector<std::string> ValueNames(RegistryKey key) override;
    std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& name) override;
    bool ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size) override;
    std::optional<RegistryIndexedValue> ReadValueAt(RegistryKey key, std::uint32_t index) override;
    void CloseKey(RegistryKey key) override;

private:
    class Hive;
    std::unique_ptr<Hive> hive_;
};
