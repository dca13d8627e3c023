#pragma once
// The Windows registry through the 8-bit advapi32 calls (RegOpenKeyExA,
// RegQueryInfoKeyA, RegEnumKeyExA, RegEnumValueA, RegQueryValueExA, RegCloseKey).
#include "registry/RegistrySource.h"

class Win32RegistrySource final : public RegistrySource {
public:
    std::optional<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) override;
    std::vector<std::string> SubKeyNames(RegistryKey key) override;
    std::vector<std::string> ValueNames(RegistryKey key) override;
    std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& name) override;
    bool ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size) override;
    std::optional<RegistryIndexedValue> ReadValueAt(RegistryKey key, std::uint32_t index) override;
    void CloseKey(RegistryKey key) override;
};
