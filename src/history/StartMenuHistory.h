#pragma once
// The shell's Start Menu history: TStartHistory reads the current user's
// UserAssist area through the current registry source and holds one TStartItem
// per recorded value, in the order the registry lists them.
#include <string>
#include <vector>

#include "base/Exception.h"
#include "history/FileTime.h"
#include "history/StartItem.h"
#include "history/UserAssistValue.h"

class TRegistry;

// "List index out of bounds (%d)".
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Below HKEY_CURRENT_USER; each subkey's "Count" key holds the values.
inline constexpr const char* UserAssistKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";

class TStartHistory {
public:
    TStartHistory();
    ~TStartHistory();
    TStartHistory(const TStartHistory&) = delete;
    TStartHistory& operator=(const TStartHistory&) = delete;

    // Clears, then reads the whole area. Registry errors (ERegistryException)
    // end the walk and pass to the caller; the entries read before stay, and
    // no key stays open. Every entry read is explained (ExplainEntries).
    void ReadHistory();
    int Count() const;
    // Copies entry Index into Item; EListError when Index is out of range.
    void GetItem(int Index, TStartItem& Item) const;
    void Clear();

private:
    void ReadCountKey(TRegistry& registry, const std::string& subKeyName);

    std::vector<TStartItem> Items;
};
