#include "registry/MemoryRegistrySource.h"

#include <algorithm>
#include <cstring>

#include "base/AsciiCase.h"
#include "registry/RegistryPath.h"

namespace {

bool Permits(MemoryRegistrySource::KeyAccess allowed, std::uint32_t access)
{
    switch (allowed) {
    case MemoryRegistrySource::KeyAccess::Any:
        return true;
    case MemoryRegistrySource::KeyAccess::ReadOnly:
        return (access & ~RegistryAccess::Read) == 0;
    case MemoryRegistrySource::KeyAccess::None:
        return false;
    }
    return false;
}

}  // namespace

MemoryRegistrySource::Key* MemoryRegistrySource::Key::FindSubKey(const std::string& name)
{
    for (auto& key : subKeys_)
        if (SameTextIgnoringAsciiCase(key->name_, name))
            return key.get();
    return nullptr;
}

MemoryRegistrySource::Value* MemoryRegistrySource::Key::FindValue(const std::string& name)
{
    for (auto& value : values_)
        if (SameTextIgnoringAsciiCase(value.Name, name))
            return &value;
    return nullptr;
}

MemoryRegistrySource::Key& MemoryRegistrySource::Key::SubKey(const std::string& name)
{
    if (Key* existing = FindSubKey(name))
        return *existing;
    subKeys_.push_back(std::make_unique<Key>());
    subKeys_.back()->name_ = name;
    return *subKeys_.back();
}

MemoryRegistrySource::Value& MemoryRegistrySource::Key::SetValue(const std::string& name, std::uint32_t type,
                                                                 std::vector<std::uint8_t> data)
{
    Value* value = FindValue(name);
    if (!value)
        value = &values_.emplace_back();
    *value = Value{name, type, std::move(data), ValueFault::None};
    return *value;
}

MemoryRegistrySource::Value& MemoryRegistrySource::Key::SetString(const std::string& name, const std::string& text,
                                                                  std::uint32_t type)
{
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return SetValue(name, type, std::move(data));
}

void MemoryRegistrySource::Key::DeleteValue(const std::string& name)
{
    std::erase_if(values_, [&](const Value& value) { return SameTextIgnoringAsciiCase(value.Name, name); });
}

MemoryRegistrySource::Key& MemoryRegistrySource::CreateKey(RegistryRoot root, const std::string& path)
{
    Key* key = &roots_[root];
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start)
            key = &key->SubKey(path.substr(start, end - start));
        start = end + 1;
    }
    return *key;
}

void MemoryRegistrySource::DeleteKey(RegistryRoot root, const std::string& path)
{
    const auto parts = SplitRegistryPath(path);
    if (!parts || parts->empty())
        return;
    Key* parent = &roots_[root];
    for (std::size_t i = 0; i + 1 < parts->size() && parent; ++i)
        parent = parent->FindSubKey((*parts)[i]);
    if (!parent)
        return;
    auto& siblings = parent->subKeys_;
    const auto doomed = std::find_if(siblings.begin(), siblings.end(), [&](const std::unique_ptr<Key>& key) {
        return SameTextIgnoringAsciiCase(key->name_, parts->back());
    });
    if (doomed == siblings.end())
        return;
    // Handles still open on it or below it keep pointing at live memory.
    deletedKeys_.push_back(std::move(*doomed));
    siblings.erase(doomed);
}

std::optional<RegistryKey> MemoryRegistrySource::OpenKey(RegistryRoot root, const std::string& path,
                                                         std::uint32_t access)
{
    Key* key = &roots_[root];
    const auto parts = SplitRegistryPath(path);
    for (std::size_t i = 0; parts && i < parts->size() && key; ++i)
        key = key->FindSubKey((*parts)[i]);
    const bool opened = parts && key && Permits(key->Access, access);
    openCalls_.push_back({root, path, access, opened});
    if (!opened)
        return std::nullopt;
    const std::uintptr_t handle = nextHandle_++;
    openKeys_[handle] = key;
    return static_cast<RegistryKey>(handle);
}

MemoryRegistrySource::Key* MemoryRegistrySource::Find(RegistryKey key) const
{
    const auto open = openKeys_.find(static_cast<std::uintptr_t>(key));
    return open == openKeys_.end() ? nullptr : open->second;
}

std::vector<std::string> MemoryRegistrySource::SubKeyNames(RegistryKey key)
{
    std::vector<std::string> names;
    if (const Key* open = Find(key))
        for (const auto& subKey : open->subKeys_)
            names.push_back(subKey->name_);
    return names;
}

std::vector<std::string> MemoryRegistrySource::ValueNames(RegistryKey key)
{
    std::vector<std::string> names;
    if (const Key* open = Find(key))
        for (const auto& value : open->values_)
            names.push_back(value.Name);
    return names;
}

const MemoryRegistrySource::Value* MemoryRegistrySource::FindReadableValue(RegistryKey key,
                                                                           const std::string& name) const
{
    Key* open = Find(key);
    const Value* value = open ? open->FindValue(name) : nullptr;
    return value && value->Fault != ValueFault::Vanishes ? value : nullptr;
}

std::optional<RegistryValueInfo> MemoryRegistrySource::QueryValue(RegistryKey key, const std::string& name)
{
    const Value* value = FindReadableValue(key, name);
    if (!value)
        return std::nullopt;
    return RegistryValueInfo{value->Type, static_cast<std::uint32_t>(value->Data.size())};
}

bool MemoryRegistrySource::ReadValue(RegistryKey key, const std::string& name, void* buffer, std::uint32_t& size)
{
    const Value* value = FindReadableValue(key, name);
    if (!value || value->Fault == ValueFault::DataReadFails || value->Data.size() > size)
        return false;
    if (!value->Data.empty())
        std::memcpy(buffer, value->Data.data(), value->Data.size());
    size = static_cast<std::uint32_t>(value->Data.size());
    return true;
}

std::optional<RegistryIndexedValue> MemoryRegistrySource::ReadValueAt(RegistryKey key, std::uint32_t index)
{
    const Key* open = Find(key);
    if (!open || index >= open->values_.size())
        return std::nullopt;
    const Value* value = &open->values_[index];
    if (value->Fault == ValueFault::Vanishes) {
        if (index + 1 >= open->values_.size())
            return std::nullopt;
        value = &open->values_[index + 1];
    }
    RegistryIndexedValue result{value->Name, {value->Type, static_cast<std::uint32_t>(value->Data.size())}, {}};
    if (value->Fault != ValueFault::DataReadFails)
        result.Data = value->Data;
    return result;
}

void MemoryRegistrySource::CloseKey(RegistryKey key)
{
    openKeys_.erase(static_cast<std::uintptr_t>(key));
}
