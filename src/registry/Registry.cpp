#include "registry/Registry.h"

#include <stdexcept>

#include "base/LittleEndian.h"

TRegistry::TRegistry(std::uint32_t access) : TRegistry(access, CurrentRegistrySource()) {}

TRegistry::TRegistry(std::uint32_t access, RegistrySource& source) : source_(source), access_(access) {}

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(RegistryRoot root)
{
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    if (canCreate)
        throw std::logic_error("TRegistry never creates keys");
    const bool fromRoot = !path.empty() && path.front() == '\\';
    // RegOpenKeyExA refuses a leading backslash, so an absolute path loses it.
    std::string fullPath = fromRoot ? path.substr(1) : path;
    if (!fromRoot && currentKey_ && !currentPath_.empty())
        fullPath = fullPath.empty() ? currentPath_ : currentPath_ + "\\" + fullPath;

    const std::optional<RegistryKey> key = source_.OpenKey(root_, fullPath, access_);
    if (!key)
        return false;
    CloseKey();
    currentKey_ = key;
    currentPath_ = fullPath;
    return true;
}

void TRegistry::CloseKey()
{
    if (currentKey_)
        source_.CloseKey(*currentKey_);
    currentKey_.reset();
    currentPath_.clear();
}

std::vector<std::string> TRegistry::GetKeyNames()
{
    return currentKey_ ? source_.SubKeyNames(*currentKey_) : std::vector<std::string>{};
}

std::vector<std::string> TRegistry::GetValueNames()
{
    return currentKey_ ? source_.ValueNames(*currentKey_) : std::vector<std::string>{};
}

std::optional<RegistryValueInfo> TRegistry::GetDataInfo(const std::string& name)
{
    return currentKey_ ? source_.QueryValue(*currentKey_, name) : std::nullopt;
}

bool TRegistry::ValueExists(const std::string& name)
{
    return GetDataInfo(name).has_value();
}

std::string TRegistry::ReadString(const std::string& name)
{
    const std::optional<RegistryValueInfo> info = GetDataInfo(name);
    if (!info)
        return {};
    if (info->Type != RegistryType::String && info->Type != RegistryType::ExpandString)
        InvalidDataType(name);
    std::string text(info->Size, '\0');
    std::uint32_t size = info->Size;
    if (size > 0 && !source_.ReadValue(*currentKey_, name, text.data(), size))
        FailedToGetData(name);
    text.resize(size);
    return text.substr(0, text.find('\0'));
}

std::uint32_t TRegistry::ReadBinaryData(const std::string& name, void* buffer, std::uint32_t bufferSize)
{
    const std::optional<RegistryValueInfo> info = GetDataInfo(name);
    if (!info)
        return 0;
    CheckBinary(name, *info, bufferSize);
    std::uint32_t size = info->Size;
    if (!source_.ReadValue(*currentKey_, name, buffer, size))
        FailedToGetData(name);
    return size;
}

std::optional<std::vector<std::uint8_t>> TRegistry::ReadBinaryDataAt(std::uint32_t index, const std::string& listedName,
                                                                     std::uint32_t maxSize)
{
    if (!currentKey_)
        return std::nullopt;
    std::optional<RegistryIndexedValue> value = source_.ReadValueAt(*currentKey_, index);
    if (!value || value->Name != listedName)
        return std::nullopt;
    CheckBinary(listedName, value->Info, maxSize);
    if (!value->Data)
        FailedToGetData(listedName);
    return std::move(value->Data);
}

std::optional<std::uint32_t> TRegistry::ReadDWordIfPresent(const std::string& name)
{
    const std::optional<RegistryValueInfo> info = GetDataInfo(name);
    std::uint8_t bytes[4];
    std::uint32_t size = sizeof bytes;
    if (!info || info->Type != RegistryType::DWord || info->Size != size ||
        !source_.ReadValue(*currentKey_, name, bytes, size) || size != sizeof bytes)
        return std::nullopt;
    return ReadLittleEndian32(bytes, 0);
}

void TRegistry::CheckBinary(const std::string& name, const RegistryValueInfo& info, std::uint32_t maxSize)
{
    const bool textOrNumber = info.Type == RegistryType::String || info.Type == RegistryType::ExpandString ||
                              info.Type == RegistryType::DWord;
    if (textOrNumber || info.Size > maxSize)
        InvalidDataType(name);
}

void TRegistry::InvalidDataType(const std::string& name)
{
    throw ERegistryException("Invalid data type for '" + name + "'");
}

void TRegistry::FailedToGetData(const std::string& name)
{
    throw ERegistryException("Failed to get data for '" + name + "'");
}
