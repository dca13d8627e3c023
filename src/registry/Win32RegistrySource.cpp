#include "registry/Win32RegistrySource.h"

#include <windows.h>

#include <array>

namespace {

HKEY ToHandle(RegistryKey key)
{
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

HKEY RootHandle(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

// Registry names are at most 16,383 characters; a source that keeps asking for
// more than this is not believed.
constexpr std::size_t MaxNameBuffer = 1 << 16;

// Enumerates names by index up to the count the key reported. A name longer
// than the reported maximum (the key changed meanwhile) grows the buffer and is
// asked for again, so every name comes out whole.
template <typename EnumerateName>
std::vector<std::string> EnumerateNames(DWORD count, DWORD longestName, EnumerateName enumerate)
{
    std::vector<std::string> names;
    std::string buffer(longestName + 1, '\0');
    for (DWORD index = 0; index < count;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG status = enumerate(index, buffer.data(), &length);
        if (status == ERROR_MORE_DATA && buffer.size() < MaxNameBuffer) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
        ++index;
    }
    return names;
}

}  // namespace

std::optional<RegistryKey> Win32RegistrySource::OpenKey(RegistryRoot root, const std::string& path,
                                                        std::uint32_t access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootHandle(root), path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return static_cast<RegistryKey>(reinterpret_cast<std::uintptr_t>(key));
}

std::vector<std::string> Win32RegistrySource::SubKeyNames(RegistryKey key)
{
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(ToHandle(key), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    return EnumerateNames(count, longest, [key](DWORD index, char* name, DWORD* length) {
        return RegEnumKeyExA(ToHandle(key), index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> Win32RegistrySource::ValueNames(RegistryKey key)
{
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(ToHandle(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    return EnumerateNames(count, longest, [key](DWORD index, char* name, DWORD* length) {
        return RegEnumValueA(ToHandle(key), index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::optional<RegistryValueInfo> Win32RegistrySource::QueryValue(RegistryKey key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(ToHandle(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return RegistryValueInfo{type, size};
}

bool Win32RegistrySource::ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size)
{
    DWORD length = size;
    if (RegQueryValueExA(ToHandle(key), name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &length) !=
        ERROR_SUCCESS)
        return false;
    size = length;
    return true;
}

std::optional<RegistryIndexedValue> Win32RegistrySource::ReadValueAt(RegistryKey key, std::uint32_t index)
{
    // Room for the longest value name: 16,383 characters, each at most two
    // bytes in a double-byte code page.
    std::array<char, 32'768> name;
    // Most values fit this buffer and take one call.
    std::array<BYTE, 2048> firstData;
    DWORD nameLength = name.size();
    DWORD type = 0;
    DWORD size = firstData.size();
    LONG status =
        RegEnumValueA(ToHandle(key), index, name.data(), &nameLength, nullptr, &type, firstData.data(), &size);
    if (status == ERROR_SUCCESS)
        return RegistryIndexedValue{std::string(name.data(), nameLength),
                                    {type, size},
                                    std::vector<std::uint8_t>(firstData.begin(), firstData.begin() + size)};
    if (status != ERROR_MORE_DATA)
        return std::nullopt;

    // A larger value: its name, type and size first (the call that found the
    // buffer too small leaves them undefined), then its data.
    nameLength = name.size();
    if (RegEnumValueA(ToHandle(key), index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryIndexedValue value{std::string(name.data(), nameLength), {type, size}, {}};
    std::vector<std::uint8_t> data(size);
    DWORD dataSize = size;
    nameLength = name.size();
    status = RegEnumValueA(ToHandle(key), index, name.data(), &nameLength, nullptr, nullptr, data.data(), &dataSize);
    if (status == ERROR_NO_MORE_ITEMS ||
        (status == ERROR_SUCCESS && value.Name != std::string_view(name.data(), nameLength)))
        return std::nullopt;  // the value went, and the index now holds another or none
    if (status == ERROR_SUCCESS && dataSize == size)
        value.Data = std::move(data);
    return value;
}

void Win32RegistrySource::CloseKey(RegistryKey key)
{
    RegCloseKey(ToHandle(key));
}
