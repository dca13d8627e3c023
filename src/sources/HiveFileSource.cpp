#include "history/StartMenuHistory.h"
#include "registry/HiveRegistrySource.h"
#include "sources/SourceReaders.h"
#include "sources/TransactionLogFiles.h"

namespace {

constexpr const char* DirtyWarning =
    "warning: the hive was not closed cleanly; changes Windows kept only in its transaction logs may be missing";

bool HasKey(RegistrySource& source, const std::string& path)
{
    const std::optional<RegistryKey> key = source.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read);
    if (key)
        source.CloseKey(*key);
    return key.has_value();
}

// A hive of the user's Software subtree alone (as some tools save one) has
// Microsoft\...\UserAssist right below its root, and no "Software" key.
void MountSoftwareSubtree(HiveRegistrySource& hive)
{
    const std::string userAssist = UserAssistKeyPath;
    const std::string software = "Software\\";
    if (!HasKey(hive, "Software") && HasKey(hive, userAssist.substr(software.size())))
        hive.MountAt("Software");
}

std::string DamageReport(const std::vector<std::string>& problems)
{
    std::string report = "hive is damaged (" + problems.front();
    if (problems.size() > 1)
        report += "; " + std::to_string(problems.size() - 1) + " more problem" + (problems.size() > 2 ? "s" : "");
    return report + ")";
}

std::string Joined(const std::vector<std::string>& texts, const char* separator)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : separator) + text;
    return joined;
}

std::string Entries(std::uint32_t count)
{
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

std::string NothingAppliedReport(const std::vector<std::string>& reasons)
{
    return std::string(DirtyWarning) + " (" + Joined(reasons, "; ") + ")";
}

// The one line that tells what the logs did for a dirty hive.
std::string LogReport(const LogReplayResult& replay, std::vector<std::string> problems)
{
    problems.insert(problems.end(), replay.Refused.begin(), replay.Refused.end());
    if (!replay.Applied()) {
        if (!replay.NothingApplied.empty())
            problems.push_back(replay.NothingApplied);
        return NothingAppliedReport(problems);
    }
    std::string report;
    if (replay.PagesApplied > 0) {  // a log of Windows XP to 8, which has pages and no entries
        report = replay.Stop ? "transaction log applied in part: " + std::to_string(replay.PagesApplied) + " of "
                             : "transaction log applied: ";
        report += std::to_string(replay.PagesDirty) + " dirty pages from " + replay.FilesApplied.front() +
                  " (the format of Windows XP to 8)";
    } else {
        report = replay.Stop ? "transaction logs applied in part: " : "transaction logs applied: ";
        report += Entries(replay.EntriesApplied) + ", sequence numbers " + std::to_string(replay.FirstSequence) +
                  " to " + std::to_string(replay.LastSequence) + ", from " + Joined(replay.FilesApplied, " and ");
    }
    if (replay.Stop)
        problems.insert(problems.begin(), *replay.Stop);
    return problems.empty() ? report : report + "; " + Joined(problems, "; ");
}

// Replays a dirty hive's logs into its bytes; the line that tells how it went.
std::string RecoverFromLogs(const std::string& file, std::vector<std::uint8_t>& bytes, SourceReading& reading,
                            bool keepRecoveredHive)
{
    TransactionLogsFound logs = FindTransactionLogs(file);
    if (logs.Logs.empty())  // what was found instead, if anything, says why there is none to use
        return NothingAppliedReport(logs.Problems.empty()
                                        ? std::vector<std::string>{"there are no transaction logs beside it"}
                                        : logs.Problems);
    const LogReplayResult replay = ReplayTransactionLogs(bytes, logs.Logs);
    if (keepRecoveredHive && replay.Applied())
        reading.Recovered = SourceReading::RecoveredHive{bytes, replay.Stop.has_value()};
    return LogReport(replay, std::move(logs.Problems));
}

}  // namespace

void ReadHiveFile(const std::string& file, SourceReading& reading, bool replayLogs, bool keepRecoveredHive)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    if (HasHiveSignature(bytes) && bytes.size() >= HiveBaseBlockSize) {
        const HiveBaseBlock primary = ReadHiveBaseBlock(bytes);
        if (HiveIsDirty(primary) && (primary.FileType == HiveFileType::Primary || !primary.ChecksumValid)) {
            reading.LogReport = replayLogs ? RecoverFromLogs(file, bytes, reading, keepRecoveredHive) : DirtyWarning;
            reading.Note(reading.LogReport);
        }
    }
    ReadHiveBytes(std::move(bytes), reading);
}

void ReadHiveBytes(std::vector<std::uint8_t> bytes, SourceReading& reading)
{
    try {
        HiveRegistrySource hive(std::move(bytes));
        reading.BaseBlockName = hive.BaseBlock().FileName;
        MountSoftwareSubtree(hive);
        ReadUserAssistArea(hive, reading);
        if (const std::vector<std::string> problems = hive.Problems(); !problems.empty())
            reading.Fail(ExitCode::DamagedHive, DamageReport(problems));
    } catch (const ENotAHive& error) {
        reading.Fail(ExitCode::NotASource, error.Message());
    } catch (const EHiveDamaged& error) {
        reading.Fail(ExitCode::DamagedHive, DamageReport({error.Message()}));
    }
}
