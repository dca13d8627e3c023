#pragma once
// The registry seam: the six operations the program needs of a registry, and
// the read of a value by its enumeration index, with portable types. The Win32
// source maps them onto the 8-bit advapi32 calls; the in-memory source serves
// tests and platforms without a registry.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ScopedOverride.h"

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// An open key of a source; meaningful only to the source that opened it.
enum class RegistryKey : std::uintptr_t {};

// Access masks and value types, with their Windows values (KEY_READ,
// KEY_ALL_ACCESS, REG_NONE ... REG_DWORD; windows.h owns those names as macros).
namespace RegistryAccess {
constexpr std::uint32_t Read = 0x20019;
constexpr std::uint32_t AllAccess = 0xF003F;
}  // namespace RegistryAccess

namespace RegistryType {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t String = 1;
constexpr std::uint32_t ExpandString = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t DWord = 4;
}  // namespace RegistryType

struct RegistryValueInfo {
    std::uint32_t Type = RegistryType::None;
    std::uint32_t Size = 0;
};

// A value as one enumeration index gives it: name, type, size and data
// together, so that a name the 8-bit interface cannot carry (it comes back with
// "?" in place of the characters outside the code page, and reading it again
// by that name fails) still brings its own data.
struct RegistryIndexedValue {
    std::string Name;
    RegistryValueInfo Info;
    // Info.Size bytes; nothing when the data read failed after the size was known.
    std::optional<std::vector<std::uint8_t>> Data;
};

class RegistrySource {
public:
    virtual ~RegistrySource() = default;

    // Opens an existing key by its path below a root (no leading backslash;
    // "" is the root itself). Nothing when the key is missing or the access is
    // refused. Never creates a key.
    virtual std::optional<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) = 0;
    // Every subkey / value name in index order, complete; empty when the key's
    // information cannot be queried.
    virtual std::vector<std::string> SubKeyNames(RegistryKey key) = 0;
    virtual std::vector<std::string> ValueNames(RegistryKey key) = 0;
    // Type and data size of a value ("" is the default value); nothing when
    // the value cannot be queried.
    virtual std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& name) = 0;
    // Reads a value's data into buffer; size is its capacity on entry and the
    // bytes written on success. False when the data cannot be read.
    virtual bool ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size) = 0;
    // The value at an enumeration index of ValueNames' order; nothing when the
    // index no longer exists (or the value there went while it was read).
    virtual std::optional<RegistryIndexedValue> ReadValueAt(RegistryKey key, std::uint32_t index) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};

// The process's registry: the Win32 source on Windows, an empty in-memory
// source elsewhere.
RegistrySource& CurrentRegistrySource();

// Makes another source current for its lifetime (tests); restores the previous
// one on destruction.
class ScopedRegistrySource : public ScopedOverride<RegistrySource> {
public:
    explicit ScopedRegistrySource(RegistrySource& source);
};
