#pragma once
// The entries of one load of the viewer, from the source it shows: the
// current user's registry through the history reader, its texts in the ANSI
// code page as the 8-bit registry calls give them, or a file (a hive with its
// transaction logs, or a registry export), its texts in UTF-8. The load owns
// them until it ends.
#include <memory>
#include <optional>
#include <string>

#include "base/Exception.h"
#include "history/StartMenuHistory.h"
#include "sources/UserAssistSources.h"

// A file that cannot be read; the message has the report tool's lines about it.
class EFileNotRead : public Exception {
public:
    using Exception::Exception;
};

class TLoadedEntries {
public:
    // Reads the registry (its errors pass to the caller as the history
    // raises them) or the file (EFileNotRead unless it was read whole).
    explicit TLoadedEntries(const std::optional<std::string>& file);
    ~TLoadedEntries();
    TLoadedEntries(const TLoadedEntries&) = delete;
    TLoadedEntries& operator=(const TLoadedEntries&) = delete;

    int Count() const;
    void GetItem(int index, TStartItem& item) const;
    // True for a file's entries, whose texts are UTF-8.
    bool Utf8() const { return reading_.has_value(); }
    // What a dirty hive's transaction logs did; empty for other sources.
    std::string LogReport() const;

private:
    std::unique_ptr<TStartHistory> history_;
    std::optional<SourceReading> reading_;
};
