#pragma once
// One recorded object of the shell's UserAssist area, as the viewer lists it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "history/FileTime.h"

enum TStartItemType : std::uint8_t {
    sitShortcut,
    sitExecutable,
    sitSession,
    sitHotKey,
    sitRunCommand,
    sitControlPanel,
    sitDesktopToolbar,
    sitOther,
};

inline constexpr std::array<const char*, 8> StartItemTypeNames = {
    "Shortcut", "Executable", "Session", "Hot Key", "Run Command", "Control Panel", "Desktop Toolbar", "Other",
};

std::string StartItemTypeToStr(TStartItemType kind);

// The record layout of a UserAssist subkey, by its size in bytes: the 16-byte
// record of the Windows XP era, or the 72-byte one that Windows 7 and later
// write (their subkeys say so with a "Version" of 5).
enum class UserAssistLayout : std::uint8_t { Classic = 16, Current = 72 };

struct TStartItem {
    std::string FileName;
    std::int32_t ExecCount = 0;
    TStartItemType ItemType = sitOther;
    std::string LastExecutedText;
    TDateTime LastExecuted = 0;

    // Where the entry comes from and what the current layout adds: the list
    // shows none of these, reports do.
    std::string SubKey;      // the UserAssist subkey's name
    std::string StoredName;  // the value's name as stored, letter-rotated
    UserAssistLayout Layout = UserAssistLayout::Classic;
    std::uint64_t LastExecutedFileTime = 0;  // the stored time, raw
    std::uint32_t FocusCount = 0;            // zero in the classic layout
    std::uint32_t FocusTime = 0;             // milliseconds; zero in the classic layout
    // How often Windows reset the key's counters: the current layout's first
    // four bytes; none for the classic layout, the session value and the
    // marker value, whose first bytes are no such count.
    std::optional<std::uint32_t> CounterResets;

    // What the numbers mean, found by looking at all the entries of a source
    // together (ExplainEntries).
    bool SeededByWindows = false;  // written at first logon, not a real run
    std::string PairedWith;        // the file name of the shortcut or program started with it
    std::string Note;              // one line for people; empty when nothing needs saying
};

// The display text of a last-run time: "Unknown" for no time (zero, or a time
// the calendar cannot split), else "mm/dd/yyyy hh:nn:ss" with the user's
// separators; "No Data" for a session entry whatever its time.
std::string LastExecutedTextOf(TStartItemType kind, TFileTime lastExecuted);
