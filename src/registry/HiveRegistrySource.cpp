#include "registry/HiveRegistrySource.h"

#include <algorithm>
#include <span>

#include "base/AsciiCase.h"
#include "registry/RegistryPath.h"
#include "registry/hive/HiveKeys.h"

namespace {

std::span<const std::uint8_t> HiveBinsData(const std::vector<std::uint8_t>& bytes)
{
    return std::span<const std::uint8_t>(bytes).subspan(std::min(bytes.size(), HiveBaseBlockSize));
}

// The checks a primary file must pass before anything in it is followed.
std::vector<std::uint8_t>& CheckedPrimary(std::vector<std::uint8_t>& bytes)
{
    if (!HasHiveSignature(bytes))
        throw ENotAHive("not a registry hive: it does not begin with \"regf\"");
    if (bytes.size() < HiveBaseBlockSize)
        throw EHiveDamaged("the file ends at byte " + std::to_string(bytes.size()) + ", inside its base block");
    const HiveBaseBlock block = ReadHiveBaseBlock(bytes);
    if (block.FileType != HiveFileType::Primary)
        throw ENotAHive("not a registry hive but one of its transaction logs");
    if (!block.VersionSupported())
        throw EHiveDamaged("its format version " + std::to_string(block.MajorVersion) + "." +
                           std::to_string(block.MinorVersion) + " is none this reader knows (1.3 to 1.6)");
    return bytes;
}

std::string Where(const std::string& path)
{
    return "key \"" + (path.empty() ? std::string("(root)") : path) + "\": ";
}

}  // namespace

HiveRegistrySource::HiveRegistrySource(std::vector<std::uint8_t> hive)
    : bytes_(std::move(CheckedPrimary(hive))),
      baseBlock_(ReadHiveBaseBlock(bytes_)),
      cells_(HiveBinsData(bytes_), baseBlock_.HiveBinsDataSize)
{
    for (const std::string& problem : cells_.BinProblems())
        Note(problem);
}

void HiveRegistrySource::MountAt(std::string currentUserPath)
{
    mount_ = std::move(currentUserPath);
}

void HiveRegistrySource::Note(const std::string& problem)
{
    if (noted_.insert(problem).second)
        problems_.push_back(problem);
}

std::optional<std::string> HiveRegistrySource::PathInHive(const std::string& path) const
{
    if (mount_.empty())
        return path;
    if (SameTextIgnoringAsciiCase(path, mount_))
        return std::string();
    if (path.size() > mount_.size() && path[mount_.size()] == '\\' && StartsWithIgnoringAsciiCase(path, mount_))
        return path.substr(mount_.size() + 1);
    return std::nullopt;
}

HiveRegistrySource::OpenedKey* HiveRegistrySource::Find(RegistryKey key)
{
    const auto open = open_.find(static_cast<std::uintptr_t>(key));
    return open == open_.end() ? nullptr : &open->second;
}

std::optional<RegistryKey> HiveRegistrySource::OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    if (root != RegistryRoot::CurrentUser || (access & ~RegistryAccess::Read) != 0)
        return std::nullopt;  // a file read here is never written
    const std::optional<std::string> inHive = PathInHive(path);
    const auto parts = inHive ? SplitRegistryPath(*inHive) : std::nullopt;
    if (!parts)
        return std::nullopt;

    std::uint32_t key = baseBlock_.RootCellOffset;
    try {
        ReadKeyNode(cells_, key);
    } catch (const EHiveDamaged& error) {
        Note("the root key cannot be read: " + error.Message());
        return std::nullopt;
    }
    std::string walked;
    for (const std::string& part : *parts) {
        const std::optional<std::uint32_t> child = SubKey(key, walked, part);
        if (!child)
            return std::nullopt;
        walked += (walked.empty() ? "" : "\\") + part;
        key = *child;
    }
    const std::uintptr_t handle = nextHandle_++;
    open_.emplace(handle, OpenedKey{key, walked, std::nullopt});
    return static_cast<RegistryKey>(handle);
}

void HiveRegistrySource::CloseKey(RegistryKey key)
{
    open_.erase(static_cast<std::uintptr_t>(key));
}

std::vector<std::uint32_t> HiveRegistrySource::SubKeyOffsets(std::uint32_t key, const std::string& path)
{
    std::vector<std::string> problems;
    std::vector<std::uint32_t> offsets;
    try {
        const HiveKeyNode node = ReadKeyNode(cells_, key);
        if (node.SubKeyCount > 0)
            offsets = cells_.SubKeyOffsets(node.SubKeyListOffset, problems);
        if (problems.empty() && offsets.size() != node.SubKeyCount)
            problems.push_back("it counts " + std::to_string(node.SubKeyCount) + " subkeys but lists " +
                               std::to_string(offsets.size()));
    } catch (const EHiveDamaged& error) {
        problems.push_back("its subkeys cannot be listed: " + error.Message());
    }
    for (const std::string& problem : problems)
        Note(Where(path) + problem);
    return offsets;
}

// The subkey of this name, matched as the registry does without regard to the case of a-z.
std::optional<std::uint32_t> HiveRegistrySource::SubKey(std::uint32_t parent, const std::string& parentPath,
                                                        const std::string& name)
{
    const std::vector<std::uint32_t> children = SubKeyOffsets(parent, parentPath);
    for (std::size_t i = 0; i < children.size(); ++i) {
        try {
            if (SameTextIgnoringAsciiCase(ReadKeyNode(cells_, children[i]).Name, name))
                return children[i];
        } catch (const EHiveDamaged& error) {
            Note(Where(parentPath) + "subkey " + std::to_string(i) + " cannot be read: " + error.Message());
        }
    }
    return std::nullopt;
}

std::vector<std::string> HiveRegistrySource::SubKeyNames(RegistryKey handle)
{
    std::vector<std::string> names;
    const OpenedKey* key = Find(handle);
    if (!key)
        return names;
    const std::vector<std::uint32_t> children = SubKeyOffsets(key->Offset, key->Path);
    for (std::size_t i = 0; i < children.size(); ++i) {
        try {
            names.push_back(ReadKeyNode(cells_, children[i]).Name);
        } catch (const EHiveDamaged& error) {
            Note(Where(key->Path) + "subkey " + std::to_string(i) + " cannot be read: " + error.Message());
        }
    }
    return names;
}

const std::vector<HiveRegistrySource::ListedValue>& HiveRegistrySource::Values(OpenedKey& key)
{
    if (key.Values)
        return *key.Values;
    key.Values.emplace();
    std::vector<std::string> problems;
    try {
        const HiveKeyNode node = ReadKeyNode(cells_, key.Offset);
        const std::vector<std::uint32_t> offsets =
            node.ValueCount == 0 ? std::vector<std::uint32_t>()
                                 : cells_.OffsetList(node.ValueListOffset, node.ValueCount, problems);
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            try {
                key.Values->push_back({offsets[i], ReadValueRecord(cells_, offsets[i]).Name});
            } catch (const EHiveDamaged& error) {
                problems.push_back("value " + std::to_string(i) + " cannot be read: " + error.Message());
            }
        }
    } catch (const EHiveDamaged& error) {
        problems.push_back("its values cannot be listed: " + error.Message());
    }
    for (const std::string& problem : problems)
        Note(Where(key.Path) + problem);
    return *key.Values;
}

std::vector<std::string> HiveRegistrySource::ValueNames(RegistryKey handle)
{
    std::vector<std::string> names;
    if (OpenedKey* key = Find(handle))
        for (const ListedValue& value : Values(*key))
            names.push_back(value.Name);
    return names;
}

RegistryIndexedValue HiveRegistrySource::ReadValueAt(const OpenedKey& key, const ListedValue& listed)
{
    RegistryIndexedValue value{listed.Name, {}, std::nullopt};
    try {
        const HiveValueRecord record = ReadValueRecord(cells_, listed.Offset);
        value.Info = {record.Type, record.DataSize};
        value.Data = ReadValueData(cells_, record, baseBlock_.MinorVersion);
    } catch (const EHiveDamaged& error) {
        Note(Where(key.Path) + "value \"" + listed.Name + "\": its data cannot be read: " + error.Message());
    }
    return value;
}

std::optional<RegistryIndexedValue> HiveRegistrySource::ReadValueAt(RegistryKey handle, std::uint32_t index)
{
    OpenedKey* key = Find(handle);
    if (!key || index >= Values(*key).size())
        return std::nullopt;
    return ReadValueAt(*key, (*key->Values)[index]);
}

std::optional<RegistryValueInfo> HiveRegistrySource::QueryValue(RegistryKey handle, const std::string& name)
{
    OpenedKey* key = Find(handle);
    if (!key)
        return std::nullopt;
    for (const ListedValue& listed : Values(*key))
        if (SameTextIgnoringAsciiCase(listed.Name, name))
            return ReadValueAt(*key, listed).Info;
    return std::nullopt;
}

bool HiveRegistrySource::ReadValue(RegistryKey handle, const std::string& name, void* buffer, std::uint32_t& size)
{
    OpenedKey* key = Find(handle);
    if (!key)
        return false;
    for (const ListedValue& listed : Values(*key)) {
        if (!SameTextIgnoringAsciiCase(listed.Name, name))
            continue;
        const RegistryIndexedValue value = ReadValueAt(*key, listed);
        if (!value.Data || value.Data->size() > size)
            return false;
        std::copy(value.Data->begin(), value.Data->end(), static_cast<std::uint8_t*>(buffer));
        size = static_cast<std::uint32_t>(value.Data->size());
        return true;
    }
    return false;
}
