#include "history/UserAssistValue.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/LittleEndian.h"
#include "history/KnownFolders.h"

namespace {

struct PrefixKind {
    const char* Prefix;
    TStartItemType Kind;
};

// Checked in this order; the first match wins.
constexpr PrefixKind KnownPrefixes[] = {
    {"UEME_RUNPIDL", sitShortcut},         {"UEME_RUNPATH", sitExecutable},  {"UEME_CTLSESSION", sitSession},
    {"UEME_UIHOTKEY", sitHotKey},          {"UEME_RUNWMCMD", sitRunCommand}, {"UEME_RUNCPL", sitControlPanel},
    {"UEME_UITOOLBAR", sitDesktopToolbar},
};

// Names of the current layout that begin so keep the classic rules.
constexpr const char* ClassicNamePrefix = "UEME_";

// The subkeys Windows 7 and later keep executables' and shortcuts' launches in.
constexpr const char* ExecutablesSubKey = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
constexpr const char* ShortcutsSubKey = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";

struct NameAndKind {
    std::string FileName;
    TStartItemType Kind;
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Prefix, colon, object text: the kind from the prefix, the folder
// placeholders replaced in the object text.
NameAndKind SplitPrefixedName(const std::string& decoded)
{
    const std::size_t colon = decoded.find(':');
    const bool hasColon = colon != std::string::npos;
    return {ReplaceFolderPlaceholders(hasColon ? decoded.substr(colon + 1) : decoded),
            StartItemTypeOfPrefix(hasColon ? decoded.substr(0, colon) : decoded)};
}

// A current-layout name is a path, an app ID or a known folder's GUID and a
// path: a drive letter's colon is part of it, and the subkey gives the kind.
NameAndKind DecodeName(const std::string& decoded, const std::string& subKey, UserAssistLayout layout)
{
    if (layout == UserAssistLayout::Classic || StartsWithIgnoringAsciiCase(decoded, ClassicNamePrefix))
        return SplitPrefixedName(decoded);
    return {ReplaceKnownFolder(decoded), StartItemTypeOfSubKey(subKey)};
}

TStartItem MakeItem(NameAndKind name, const UserAssistRecord& record)
{
    TStartItem item;
    item.FileName = std::move(name.FileName);
    item.ItemType = name.Kind;
    item.ExecCount = record.ExecCount;
    item.LastExecuted = FileTimeToDateTime(record.LastExecuted);
    item.LastExecutedText = LastExecutedTextOf(item.ItemType, record.LastExecuted);
    item.LastExecutedFileTime = FileTimeTicks(record.LastExecuted);
    item.FocusCount = record.FocusCount;
    item.FocusTime = record.FocusTime;
    return item;
}

}  // namespace

char Rot13Letter(char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>('A' + (c - 'A' + 13) % 26);
    if (c >= 'a' && c <= 'z')
        return static_cast<char>('a' + (c - 'a' + 13) % 26);
    return c;
}

std::string Rot13(const std::string& text)
{
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(), Rot13Letter);
    return result;
}

bool StoredNameDecodesTo(std::string_view storedName, std::string_view decodedName)
{
    return storedName.size() == decodedName.size() &&
           std::equal(storedName.begin(), storedName.end(), decodedName.begin(), [](char stored, char decoded) {
               return UpperAsciiLetter(Rot13Letter(stored)) == UpperAsciiLetter(decoded);
           });
}

TStartItemType StartItemTypeOfPrefix(const std::string& prefix)
{
    for (const PrefixKind& known : KnownPrefixes)
        if (SameTextIgnoringAsciiCase(prefix, known.Prefix))
            return known.Kind;
    return sitOther;
}

TStartItemType StartItemTypeOfSubKey(const std::string& subKey)
{
    if (SameTextIgnoringAsciiCase(subKey, ExecutablesSubKey))
        return sitExecutable;
    if (SameTextIgnoringAsciiCase(subKey, ShortcutsSubKey))
        return sitShortcut;
    return sitOther;
}

std::string ReplaceFolderPlaceholders(std::string text)
{
    ReplaceAll(text, "%csidl2%", "[Start Menu]");
    ReplaceAll(text, "%csidl6%", "[Favorites]");
    return text;
}

bool IsSessionValueName(const std::string& decodedName)
{
    return SameTextIgnoringAsciiCase(decodedName, SessionValueName);
}

UserAssistRecord DecodeUserAssistRecord(std::span<const std::uint8_t> data, UserAssistLayout layout)
{
    if (layout == UserAssistLayout::Classic)
        return {static_cast<std::int32_t>(ReadLittleEndian32(data, 4)),
                {ReadLittleEndian32(data, 8), ReadLittleEndian32(data, 12)}};
    return {static_cast<std::int32_t>(ReadLittleEndian32(data, 4)),
            {ReadLittleEndian32(data, 60), ReadLittleEndian32(data, 64)},
            ReadLittleEndian32(data, 8),
            ReadLittleEndian32(data, 12)};
}

UserAssistRecord DecodeSessionRecord(std::span<const std::uint8_t> data)
{
    UserAssistRecord record = DecodeUserAssistRecord(data, UserAssistLayout::Current);
    record.LastExecuted = {};  // offset 60 lies inside the name of a top entry
    return record;
}

UserAssistRecordBytes EncodeUserAssistRecord(const UserAssistRecord& record)
{
    UserAssistRecordBytes bytes{};
    WriteLittleEndian32(bytes, 4, static_cast<std::uint32_t>(record.ExecCount));
    WriteLittleEndian32(bytes, 8, record.LastExecuted.dwLowDateTime);
    WriteLittleEndian32(bytes, 12, record.LastExecuted.dwHighDateTime);
    return bytes;
}

std::array<std::uint8_t, CurrentUserAssistRecordSize> EncodeCurrentUserAssistRecord(const UserAssistRecord& record)
{
    constexpr std::uint32_t UnusedSlot = 0xBF800000;  // -1.0f
    constexpr std::uint32_t NoSlotUsed = 0xFFFFFFFF;  // -1
    std::array<std::uint8_t, CurrentUserAssistRecordSize> bytes{};
    WriteLittleEndian32(bytes, 4, static_cast<std::uint32_t>(record.ExecCount));
    WriteLittleEndian32(bytes, 8, record.FocusCount);
    WriteLittleEndian32(bytes, 12, record.FocusTime);
    for (std::size_t slot = 0; slot < 10; ++slot)
        WriteLittleEndian32(bytes, 16 + 4 * slot, UnusedSlot);
    WriteLittleEndian32(bytes, 56, NoSlotUsed);
    WriteLittleEndian32(bytes, 60, record.LastExecuted.dwLowDateTime);
    WriteLittleEndian32(bytes, 64, record.LastExecuted.dwHighDateTime);
    return bytes;
}

TStartItem DecodeUserAssistValue(const std::string& storedName, const UserAssistRecord& record)
{
    TStartItem item = MakeItem(SplitPrefixedName(Rot13(storedName)), record);
    item.StoredName = storedName;
    return item;
}

TStartItem DecodeUserAssistValue(const std::string& subKey, const std::string& storedName,
                                 std::span<const std::uint8_t> data, UserAssistLayout layout)
{
    const std::string decoded = Rot13(storedName);
    const bool session = layout == UserAssistLayout::Current && IsSessionValueName(decoded);
    TStartItem item = MakeItem(DecodeName(decoded, subKey, layout),
                               session ? DecodeSessionRecord(data) : DecodeUserAssistRecord(data, layout));
    item.SubKey = subKey;
    item.StoredName = storedName;
    item.Layout = layout;
    if (layout == UserAssistLayout::Current && !session && !SameTextIgnoringAsciiCase(decoded, MarkerValueName))
        item.CounterResets = ReadLittleEndian32(data, 0);
    return item;
}
