#pragma once
// What a reader holds, as a vector, for tests that compare whole lists.
#include <string>
#include <vector>

#include "history/StartMenuHistory.h"
#include "registry/Registry.h"

inline std::vector<TStartItem> EntriesOf(const TStartHistory& history)
{
    std::vector<TStartItem> items(static_cast<std::size_t>(history.Count()));
    for (int i = 0; i < history.Count(); ++i)
        history.GetItem(i, items[static_cast<std::size_t>(i)]);
    return items;
}

// A fresh walk of the current registry source.
inline std::vector<TStartItem> ReadHistoryEntries()
{
    TStartHistory history;
    history.ReadHistory();
    return EntriesOf(history);
}

// The message of the registry error that a walk ends with; "(no error)" when
// it ends without one.
inline std::string ReadHistoryError(TStartHistory& history)
{
    try {
        history.ReadHistory();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return "(no error)";
}
