#include "history/StartMenuHistory.h"

#include "registry/Registry.h"

TStartHistory::TStartHistory() = default;

TStartHistory::~TStartHistory()
{
    Clear();
}

void TStartHistory::ReadHistory()
{
    Clear();
    TRegistry registry(RegistryAccess::Read);
    if (!registry.OpenKey(UserAssistKeyPath))
        return;
    const std::vector<std::string> subKeyNames = registry.GetKeyNames();
    registry.CloseKey();
    for (const std::string& subKeyName : subKeyNames)
        ReadCountKey(registry, subKeyName);
}

void TStartHistory::ReadCountKey(TRegistry& registry, const std::string& subKeyName)
{
    if (!registry.OpenKey(std::string(UserAssistKeyPath) + "\\" + subKeyName + "\\Count"))
        return;
    for (const std::string& valueName : registry.GetValueNames()) {
        // A fresh record for every value: a short value or one that vanished
        // since the listing must not show the bytes of the value before it.
        UserAssistRecordBytes bytes{};
        registry.ReadBinaryData(valueName, bytes.data(), UserAssistRecordSize);
        Items.push_back(DecodeUserAssistValue(valueName, DecodeUserAssistRecord(bytes)));
    }
    registry.CloseKey();
}

int TStartHistory::Count() const
{
    return static_cast<int>(Items.size());
}

void TStartHistory::GetItem(int Index, TStartItem& Item) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    Item = Items[static_cast<std::size_t>(Index)];
}

void TStartHistory::Clear()
{
    Items.clear();
}
