#pragma once
// A registry held in memory, for tests and for platforms without one. Like the
// Windows registry it matches key and value names without regard to the case of
// the letters a-z, and it lists names in the order they were added. It can also
// stage the failures a real registry shows: keys that refuse to open, values
// whose data read fails after their size was read, values that vanish between
// listing and reading. It counts open handles so tests can prove every handle
// is closed on every path.
#include <map>
#include <memory>

#include "registry/RegistrySource.h"

class MemoryRegistrySource final : public RegistrySource {
public:
    enum class KeyAccess {
        Any,       // opens with any access mask
        ReadOnly,  // opens only for masks within KEY_READ (a user without write rights)
        None,      // never opens
    };
    enum class ValueFault {
        None,
        DataReadFails,  // type and size can be queried, the data read fails
        Vanishes,       // listed, but gone when queried or read: its index then
                        // holds the value after it, as a deletion would leave it
    };

    struct Value {
        std::string Name;
        std::uint32_t Type = RegistryType::Binary;
        std::vector<std::uint8_t> Data;
        ValueFault Fault = ValueFault::None;
    };

    class Key {
    public:
        // The subkey of this name, added when missing.
        Key& SubKey(const std::string& name);
        // Adds the value, or replaces the one of the same name in place.
        Value& SetValue(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data);
        Value& SetString(const std::string& name, const std::string& text, std::uint32_t type = RegistryType::String);
        void DeleteValue(const std::string& name);
        KeyAccess Access = KeyAccess::Any;

    private:
        friend class MemoryRegistrySource;
        Key* FindSubKey(const std::string& name);
        Value* FindValue(const std::string& name);

        std::string name_;
        std::vector<std::unique_ptr<Key>> subKeys_;
        std::vector<Value> values_;
    };

    struct OpenCall {
        RegistryRoot Root;
        std::string Path;
        std::uint32_t Access;
        bool Opened;
    };

    // The key at a backslash-separated path below a root, added when missing.
    Key& CreateKey(RegistryRoot root, const std::string& path);
    // Removes the key at a path below a root, with everything below it.
    void DeleteKey(RegistryRoot root, const std::string& path);

    int OpenHandleCount() const { return static_cast<int>(openKeys_.size()); }
    // Every OpenKey call so far, in order.
    const std::vector<OpenCall>& OpenCalls() const { return openCalls_; }

    std::optional<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) override;
    std::vector<std::string> SubKeyNames(RegistryKey key) override;
    std::vector<std::string> ValueNames(RegistryKey key) override;
    std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& name) override;
    bool ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size) override;
    std::optional<RegistryIndexedValue> ReadValueAt(RegistryKey key, std::uint32_t index) override;
    void CloseKey(RegistryKey key) override;

private:
    Key* Find(RegistryKey key) const;
    const Value* FindReadableValue(RegistryKey key, const std::string& name) const;

    std::map<RegistryRoot, Key> roots_;
    std::vector<std::unique_ptr<Key>> deletedKeys_;
    std::map<std::uintptr_t, Key*> openKeys_;
    std::uintptr_t nextHandle_ = 1;
    std::vector<OpenCall> openCalls_;
};
