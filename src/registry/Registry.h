#pragma once
// A registry key helper in the manner of a registry class: a root, an access
// mask and at most one open key, read through the current registry source.
#include "base/Exception.h"
#include "registry/RegistrySource.h"

// "Invalid data type for '%s'" and "Failed to get data for '%s'", %s being the
// value's stored name.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    // Root HKEY_CURRENT_USER, the given access, the current registry source.
    // Read access unless asked otherwise: a program that only reads should
    // never hold a key it could change.
    explicit TRegistry(std::uint32_t access = RegistryAccess::Read);
    TRegistry(std::uint32_t access, RegistrySource& source);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RegistryRoot RootKey() const { return root_; }
    // Closes the open key, as it belongs to the old root.
    void SetRootKey(RegistryRoot root);
    std::uint32_t Access() const { return access_; }
    void SetAccess(std::uint32_t access) { access_ = access; }
    const std::string& CurrentPath() const { return currentPath_; }

    // Opens a key and makes it the current one, closing the previous one. A
    // path with a leading backslash starts at the root; any other path is
    // relative to the current key, or to the root when none is open. Keys are
    // never created: canCreate must stay false (the seam has no way to create).
    bool OpenKey(const std::string& path, bool canCreate = false);
    void CloseKey();

    // Names in the registry's index order; empty when no key is open.
    std::vector<std::string> GetKeyNames();
    std::vector<std::string> GetValueNames();
    bool ValueExists(const std::string& name);
    std::optional<RegistryValueInfo> GetDataInfo(const std::string& name);

    // A string value ("" for the default value), cut at its first zero byte.
    // "" when the value is missing; ERegistryException for a value of another
    // type than REG_SZ or REG_EXPAND_SZ, or whose data cannot be read.
    std::string ReadString(const std::string& name);
    // Reads a binary value into buffer and returns its size. Refuses (with
    // ERegistryException) REG_SZ, REG_EXPAND_SZ and REG_DWORD values and values
    // larger than bufferSize; raises it too when the data read fails after the
    // size query. A value whose size cannot be queried reads nothing: 0.
    std::uint32_t ReadBinaryData(const std::string& name, void* buffer, std::uint32_t bufferSize);
    // The same rules for the value at an enumeration index of GetValueNames,
    // which must still bear the listed name: its whole data. Nothing when the
    // value vanished since the listing (the index is gone or holds another
    // name), so that no data is ever taken for a name it does not belong to.
    std::optional<std::vector<std::uint8_t>> ReadBinaryDataAt(std::uint32_t index, const std::string& listedName,
                                                              std::uint32_t maxSize);
    // A REG_DWORD value of four bytes; nothing for any other value, a missing
    // one or a failed read. Never raises.
    std::optional<std::uint32_t> ReadDWordIfPresent(const std::string& name);

private:
    // Refuses REG_SZ, REG_EXPAND_SZ and REG_DWORD values and those larger than maxSize.
    static void CheckBinary(const std::string& name, const RegistryValueInfo& info, std::uint32_t maxSize);
    [[noreturn]] static void InvalidDataType(const std::string& name);
    [[noreturn]] static void FailedToGetData(const std::string& name);

    RegistrySource& source_;
    RegistryRoot root_ = RegistryRoot::CurrentUser;
    std::uint32_t access_;
    std::optional<RegistryKey> currentKey_;
    std::string currentPath_;
};
