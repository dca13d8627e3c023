#include "history/EntryExplanation.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "history/UserAssistValue.h"

namespace {

constexpr std::size_t None = static_cast<std::size_t>(-1);

// At first logon Windows writes a handful of entries into the executables key
// with one time and counts of its own making: n runs (n of at least 4) and
// 2n - 7 focus gains. Drawn from the hives we have seen, not from any
// documentation: a heuristic, and named as one wherever it is shown.
constexpr std::int64_t SmallestSeededRunCount = 4;
constexpr int SmallestSeededGroup = 3;

bool HasSeededCounts(const TStartItem& item)
{
    const std::int64_t runs = item.ExecCount;
    return runs >= SmallestSeededRunCount && std::int64_t{item.FocusCount} == 2 * runs - 7;
}

// The entries of both launch keys that share one last-run time.
struct SameTime {
    int Executables = 0;
    int Shortcuts = 0;
    int WithSeededCounts = 0;  // executables with the counts of a seeded entry
    std::size_t Executable = None;
    std::size_t Shortcut = None;

    bool Seeded() const { return WithSeededCounts >= SmallestSeededGroup; }
    // A shortcut and the program it started are written in one moment; when
    // nothing else was, the two belong together.
    bool Pair() const { return Executables == 1 && Shortcuts == 1; }
};

// The launch key of each entry that can take part in the time rules (a dated
// current-layout record of the executables or the shortcuts key), sitOther
// for the rest. Entries come a subkey at a time, so its name is matched once
// per run of entries.
std::vector<TStartItemType> LaunchKeysOf(const std::vector<TStartItem>& items)
{
    std::vector<TStartItemType> keys(items.size(), sitOther);
    const std::string* lastSubKey = nullptr;
    TStartItemType lastKey = sitOther;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TStartItem& item = items[i];
        if (item.Layout != UserAssistLayout::Current || item.LastExecutedFileTime == 0)
            continue;
        if (!lastSubKey || *lastSubKey != item.SubKey) {
            lastSubKey = &item.SubKey;
            lastKey = StartItemTypeOfSubKey(item.SubKey);
        }
        keys[i] = lastKey;
    }
    return keys;
}

void ExplainByTime(std::vector<TStartItem>& items)
{
    const std::vector<TStartItemType> keys = LaunchKeysOf(items);
    std::unordered_map<std::uint64_t, SameTime> byTime;
    byTime.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (keys[i] != sitExecutable && keys[i] != sitShortcut)
            continue;
        SameTime& group = byTime[items[i].LastExecutedFileTime];
        if (keys[i] == sitExecutable) {
            ++group.Executables;
            group.Executable = i;
            group.WithSeededCounts += HasSeededCounts(items[i]);
        } else {
            ++group.Shortcuts;
            group.Shortcut = i;
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (keys[i] != sitExecutable && keys[i] != sitShortcut)
            continue;
        TStartItem& item = items[i];
        const SameTime& group = byTime.at(item.LastExecutedFileTime);
        const bool executable = keys[i] == sitExecutable;
        if (group.Seeded() && (!executable || HasSeededCounts(item))) {
            item.SeededByWindows = true;
            item.Note = SeededNote;
        } else if (group.Pair()) {
            item.PairedWith = items[executable ? group.Shortcut : group.Executable].FileName;
            item.Note = (executable ? "Started by shortcut " : "Started ") + item.PairedWith;
        }
    }
}

}  // namespace

void ExplainEntries(std::vector<TStartItem>& items)
{
    for (TStartItem& item : items) {
        item.SeededByWindows = false;
        item.PairedWith.clear();
        item.Note.clear();
        if (StoredNameDecodesTo(item.StoredName, MarkerValueName))
            item.Note = MarkerNote;
        else if (item.Layout == UserAssistLayout::Current && StoredNameDecodesTo(item.StoredName, SessionValueName))
            item.Note = SessionNote;
    }
    ExplainByTime(items);
}
