#include "report/RecoveredHiveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <windows.h>

#include "base/TextEncoding.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "report/ReportOptions.h"
#include "sources/FileIdentity.h"
#include "sources/TransactionLogFiles.h"

namespace {

// Where the bytes go until they are complete, beside the target so that the rename stays on one volume.
std::string TemporaryPathFor(const std::string& target)
{
#ifdef _WIN32
    return target + ".tmp" + std::to_string(GetCurrentProcessId());
#else
    return target + ".tmp" + std::to_string(getpid());
#endif
}

// Writes a new file whole, flushed to the disk; false with errno/GetLastError set when it cannot.
bool WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(path);
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, CloseHandle);
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 24));
        if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr))
            return false;
        written += done;
    }
    return FlushFileBuffers(file) != 0;
#else
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0)
        return false;
    std::size_t written = 0;
    bool good = true;
    while (good && written < bytes.size()) {
        const ssize_t done = write(file, bytes.data() + written, bytes.size() - written);
        good = done > 0 || (done < 0 && errno == EINTR);
        written += done > 0 ? static_cast<std::size_t>(done) : 0;
    }
    good = good && fsync(file) == 0;
    const int error = errno;
    good = close(file) == 0 && good;
    if (!good && errno == 0)
        errno = error;
    return good;
#endif
}

bool RenameOver(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    const std::u16string wideFrom = Utf8ToUtf16(from);
    const std::u16string wideTo = Utf8ToUtf16(to);
    return MoveFileExW(reinterpret_cast<const wchar_t*>(wideFrom.c_str()),
                       reinterpret_cast<const wchar_t*>(wideTo.c_str()), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void RemoveFile(const std::string& path)
{
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(path);
    DeleteFileW(reinterpret_cast<const wchar_t*>(wide.c_str()));
#else
    unlink(path.c_str());
#endif
}

std::string LastErrorText()
{
#ifdef _WIN32
    return "Windows error " + std::to_string(GetLastError());
#else
    return std::strerror(errno);
#endif
}

// Why nothing is written: a clean copy of a hive that is dirty, or of one whose logs were not applied, would
// hide the logs from every tool that reads the copy later.
std::string NothingToSave(const SourceReading& reading, bool replayLogs)
{
    if (reading.Code >= ExitCode::FileUnreadable)
        return "the hive could not be read";
    if (reading.LogReport.empty())
        return "the hive was closed cleanly, so there is nothing to recover";
    if (!replayLogs)
        return "--no-logs reads the hive as it is";
    return "no entry of its transaction logs could be applied";
}

}  // namespace

void CheckRecoveredHiveTarget(const std::string& target, const std::string& hive)
{
    std::vector<std::string> evidence = TransactionLogPaths(hive);
    evidence.insert(evidence.begin(), hive);
    for (const std::string& file : evidence)
        if (SameFile(target, file))
            throw EUsage("--save-recovered-hive: \"" + target + "\" is " +
                         (file == hive ? "the hive" : "a log of the hive") + " itself; name a new file");
}

SaveOutcome SaveRecoveredHive(const std::string& target, const SourceReading& reading, bool replayLogs)
{
    if (!reading.Recovered)
        return {ExitCode::HiveNotSaved, "not written: " + NothingToSave(reading, replayLogs)};
    const std::string temporary = TemporaryPathFor(target);
    if (!WriteNewFile(temporary, reading.Recovered->Bytes) || !RenameOver(temporary, target)) {
        const std::string reason = LastErrorText();
        RemoveFile(temporary);
        return {ExitCode::HiveNotSaved, "not written: " + reason};
    }
    if (reading.Recovered->Partial)
        return {ExitCode::Success, "written, but partial: a damaged log entry stopped the replay"};
    return {};
}
