#include "history/StartMenuHistory.h"

#include <limits>

#include "history/EntryExplanation.h"
#include "registry/Registry.h"

namespace {

// A subkey whose "Version" is this holds the current layout's records.
constexpr std::uint32_t CurrentLayoutVersion = 5;

std::string SubKeyPath(const std::string& subKeyName)
{
    return std::string(UserAssistKeyPath) + "\\" + subKeyName;
}

// The subkey's own "Version" decides; anything but a readable 5 (no subkey,
// no value, another type, size or number) keeps the classic layout.
UserAssistLayout LayoutOf(TRegistry& registry, const std::string& subKeyName)
{
    if (!registry.OpenKey(SubKeyPath(subKeyName)))
        return UserAssistLayout::Classic;
    const std::optional<std::uint32_t> version = registry.ReadDWordIfPresent("Version");
    registry.CloseKey();
    return version == CurrentLayoutVersion ? UserAssistLayout::Current : UserAssistLayout::Classic;
}

// The most a value may hold: its layout's record, but any size for the
// current layout's session value, of which only the first 16 bytes count.
std::uint32_t LargestValue(const std::string& storedName, UserAssistLayout layout)
{
    if (layout == UserAssistLayout::Current && IsSessionValueName(Rot13(storedName)))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(layout);
}

}  // namespace

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
    // The entries read before an error are kept, and explained like the rest.
    try {
        for (const std::string& subKeyName : subKeyNames)
            ReadCountKey(registry, subKeyName);
    } catch (...) {
        ExplainEntries(Items);
        throw;
    }
    ExplainEntries(Items);
}

void TStartHistory::ReadCountKey(TRegistry& registry, const std::string& subKeyName)
{
    const UserAssistLayout layout = LayoutOf(registry, subKeyName);
    if (!registry.OpenKey(SubKeyPath(subKeyName) + "\\Count"))
        return;
    const std::vector<std::string> valueNames = registry.GetValueNames();
    for (std::uint32_t index = 0; index < valueNames.size(); ++index) {
        const std::string& storedName = valueNames[index];
        // Read by index, so that a name the 8-bit interface could not carry
        // keeps its data. A value that vanished since the listing reads as
        // nothing, and its entry as zero: never the bytes of another value.
        const std::optional<std::vector<std::uint8_t>> data =
            registry.ReadBinaryDataAt(index, storedName, LargestValue(storedName, layout));
        Items.push_back(DecodeUserAssistValue(
            subKeyName, storedName, data ? std::span<const std::uint8_t>(*data) : std::span<const std::uint8_t>(),
            layout));
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
