#include "sources/TransactionLogFiles.h"

#include "base/AsciiCase.h"
#include "sources/FolderListing.h"
#include "sources/SourceReaders.h"

namespace {

constexpr const char* LogSuffixes[] = {".LOG1", ".LOG2", ".LOG"};

// The names in the hive's folder that each log name matches.
std::vector<std::vector<std::string>> MatchingNames(const std::string& hivePath)
{
    const std::string hive = NameOf(hivePath);
    const std::vector<std::string> names = NamesInFolder(FolderOf(hivePath));
    std::vector<std::vector<std::string>> matches;
    for (const char* suffix : LogSuffixes) {
        matches.emplace_back();
        for (const std::string& name : names)
            if (SameTextIgnoringAsciiCase(name, hive + suffix))
                matches.back().push_back(name);
    }
    return matches;
}

}  // namespace

std::vector<std::string> TransactionLogPaths(const std::string& hivePath)
{
    std::vector<std::string> paths;
    for (const std::vector<std::string>& names : MatchingNames(hivePath))
        for (const std::string& name : names)
            paths.push_back(PathIn(FolderOf(hivePath), name));
    return paths;
}

TransactionLogsFound FindTransactionLogs(const std::string& hivePath)
{
    TransactionLogsFound found;
    for (const std::vector<std::string>& names : MatchingNames(hivePath)) {
        for (const std::string& name : names)
            found.Paths.push_back(PathIn(FolderOf(hivePath), name));
        if (names.size() > 1) {
            // Which of them Windows wrote last cannot be told.
            std::string listed;
            for (const std::string& name : names)
                listed += (listed.empty() ? "" : " and ") + name;
            found.Problems.push_back(listed + " differ only in case, so neither is used");
            continue;
        }
        if (names.empty())
            continue;
        try {
            std::vector<std::uint8_t> bytes = ReadWholeFile(found.Paths.back());
            if (!bytes.empty())  // Windows leaves empty logs beside many hives
                found.Logs.push_back({names.front(), std::move(bytes)});
        } catch (const EFileUnreadable& error) {
            found.Problems.push_back(names.front() + " cannot be read: " + error.Message());
        }
    }
    return found;
}
