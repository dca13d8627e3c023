#pragma once
// One recorded object of the shell's UserAssist area, as the viewer lists it.
#include <array>
#include <cstdint>
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

struct TStartItem {
    std::string FileName;
    std::int32_t ExecCount = 0;
    TStartItemType ItemType = sitOther;
    std::string LastExecutedText;
    TDateTime LastExecuted = 0;
};

// The display text of a last-run time: "Unknown" for no time (zero, or a time
// the calendar cannot split), else "mm/dd/yyyy hh:nn:ss" with the user's
// separators; "No Data" for a session entry whatever its time.
std::string LastExecutedTextOf(TStartItemType kind, TFileTime lastExecuted);
