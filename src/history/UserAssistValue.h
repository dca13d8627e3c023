#pragma once
// Decoding of one value of a UserAssist "Count" key: the letter-rotated name
// (prefix, colon, object text; or a path that may begin with a known folder)
// and the record in the layout of its subkey (run count, focus count and time,
// last-run time).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "history/StartItem.h"

// Rotates the letters A-Z and a-z by 13 places; every other byte stays. Its
// own inverse: it encodes names as well as decoding them.
std::string Rot13(const std::string& text);
char Rot13Letter(char c);
// Whether a stored (letter-rotated) name decodes to the given one, a-z case
// ignored; nothing is allocated, for passes over every entry.
bool StoredNameDecodesTo(std::string_view storedName, std::string_view decodedName);

// The kind of a decoded prefix: the first of the known prefixes of equal length
// that matches ignoring the case of a-z only; sitOther when none does.
TStartItemType StartItemTypeOfPrefix(const std::string& prefix);

// The kind the current layout gives every plain name of a subkey: the
// executables' and the shortcuts' subkeys by their GUIDs (a-z case ignored),
// sitOther for any other subkey.
TStartItemType StartItemTypeOfSubKey(const std::string& subKey);

// Replaces every "%csidl2%" with "[Start Menu]", then every "%csidl6%" with
// "[Favorites]" (exactly these lower-case forms).
std::string ReplaceFolderPlaceholders(std::string text);

// The session value of a "Count" key, by its decoded name (a-z case ignored).
inline constexpr std::string_view SessionValueName = "UEME_CTLSESSION";
bool IsSessionValueName(const std::string& decodedName);
// The value Windows keeps in every Count key as a marker, not a program.
inline constexpr std::string_view MarkerValueName = "UEME_CTLCUACount:ctor";

inline constexpr std::uint32_t UserAssistRecordSize = 16;
inline constexpr std::uint32_t CurrentUserAssistRecordSize = 72;
using UserAssistRecordBytes = std::array<std::uint8_t, UserAssistRecordSize>;

// What a record holds, little-endian. Classic layout: 4 bytes not interpreted,
// the signed run count at offset 4, the last-run file time at 8. Current
// layout: the run count at 4, the focus count at 8, the focus time in
// milliseconds at 12, the last-run file time (UTC) at 60.
struct UserAssistRecord {
    std::int32_t ExecCount = 0;
    TFileTime LastExecuted;
    std::uint32_t FocusCount = 0;
    std::uint32_t FocusTime = 0;
};

// The record of a value's data; bytes past the data's end read as zero.
UserAssistRecord DecodeUserAssistRecord(std::span<const std::uint8_t> data,
                                        UserAssistLayout layout = UserAssistLayout::Classic);
// The current layout's session value: the key's totals of runs, focus count
// and focus time at offsets 4, 8 and 12, and no time.
UserAssistRecord DecodeSessionRecord(std::span<const std::uint8_t> data);

UserAssistRecordBytes EncodeUserAssistRecord(const UserAssistRecord& record);
// A current-layout record as Windows writes one for an entry that has lived
// through no counter period: every usage-score slot unused (-1.0).
std::array<std::uint8_t, CurrentUserAssistRecordSize> EncodeCurrentUserAssistRecord(const UserAssistRecord& record);

// The entry of a classic-layout value with its stored (rotated) name and
// record, all five fields set.
TStartItem DecodeUserAssistValue(const std::string& storedName, const UserAssistRecord& record);

// The entry of a value of a subkey whose records have the given layout: its
// stored name and its data as read (at most the layout's size, or any size for
// the current layout's session value).
TStartItem DecodeUserAssistValue(const std::string& subKey, const std::string& storedName,
                                 std::span<const std::uint8_t> data, UserAssistLayout layout);
