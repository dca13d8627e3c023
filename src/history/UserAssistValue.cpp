#include "history/UserAssistValue.h"

#include <algorithm>

#include "base/AsciiCase.h"

namespace {

struct PrefixKind {
    const char* Prefix;
    TStartItemType Kind;
};

// Checked in this order; the first match wins.
constexpr PrefixKind KnownPrefixes[] = {
    {"UEME_RUNPIDL", sitShortcut},      {"UEME_RUNPATH", sitExecutable}, {"UEME_CTLSESSION", sitSession},
    {"UEME_UIHOTKEY", sitHotKey},       {"UEME_RUNWMCMD", sitRunCommand}, {"UEME_RUNCPL", sitControlPanel},
    {"UEME_UITOOLBAR", sitDesktopToolbar},
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::uint32_t ReadLittleEndian32(const UserAssistRecordBytes& bytes, std::size_t offset)
{
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

void WriteLittleEndian32(UserAssistRecordBytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::string Rot13(const std::string& text)
{
    std::string result = text;
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>('A' + (c - 'A' + 13) % 26);
        else if (c >= 'a' && c <= 'z')
            c = static_cast<char>('a' + (c - 'a' + 13) % 26);
    }
    return result;
}

TStartItemType StartItemTypeOfPrefix(const std::string& prefix)
{
    for (const PrefixKind& known : KnownPrefixes)
        if (SameTextIgnoringAsciiCase(prefix, known.Prefix))
            return known.Kind;
    return sitOther;
}

std::string ReplaceFolderPlaceholders(std::string text)
{
    ReplaceAll(text, "%csidl2%", "[Start Menu]");
    ReplaceAll(text, "%csidl6%", "[Favorites]");
    return text;
}

UserAssistRecord DecodeUserAssistRecord(const UserAssistRecordBytes& bytes)
{
    return {static_cast<std::int32_t>(ReadLittleEndian32(bytes, 4)),
            {ReadLittleEndian32(bytes, 8), ReadLittleEndian32(bytes, 12)}};
}

UserAssistRecordBytes EncodeUserAssistRecord(const UserAssistRecord& record)
{
    UserAssistRecordBytes bytes{};
    WriteLittleEndian32(bytes, 4, static_cast<std::uint32_t>(record.ExecCount));
    WriteLittleEndian32(bytes, 8, record.LastExecuted.dwLowDateTime);
    WriteLittleEndian32(bytes, 12, record.LastExecuted.dwHighDateTime);
    return bytes;
}

TStartItem DecodeUserAssistValue(const std::string& storedName, const UserAssistRecord& record)
{
    const std::string decoded = Rot13(storedName);
    const std::size_t colon = decoded.find(':');
    const bool hasColon = colon != std::string::npos;

    TStartItem item;
    item.ItemType = StartItemTypeOfPrefix(hasColon ? decoded.substr(0, colon) : decoded);
    item.FileName = ReplaceFolderPlaceholders(hasColon ? decoded.substr(colon + 1) : decoded);
    item.ExecCount = record.ExecCount;
    item.LastExecuted = FileTimeToDateTime(record.LastExecuted);
    item.LastExecutedText = LastExecutedTextOf(item.ItemType, record.LastExecuted);
    return item;
}
