// The running executable's version and link date, and the stale log removal,
// on real files under Wine.
#include "support/ExeVersion.h"
#include "support/StaleLogFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string ExeFolder()
{
    const std::string exe = ExePath();
    return exe.substr(0, exe.find_last_of('\\') + 1);
}

TEST(GetExeLinkDate, ReadsTheImageHeadersTimeStamp)
{
    // The same stamp, read from the image as the loader mapped it.
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(dos) + dos->e_lfanew);
    EXPECT_EQ(GetExeLinkDate(ExePath()), LinkTimeStampToDateTime(nt->FileHeader.TimeDateStamp));
    EXPECT_GT(GetExeLinkDate(ExePath()), EncodeDate(2020, 1, 1)) << "the linker writes the real time";
}

TEST(GetExeLinkDate, FileThatCannotBeMappedRaisesTheSystemError)
{
    try {
        GetExeLinkDate(ExeFolder() + "no-such-program.exe");
        FAIL() << "no error raised";
    } catch (const EOSError& error) {
        EXPECT_NE(error.ErrorCode, 0u);
        const std::string prefix = "System Error.  Code: " + std::to_string(error.ErrorCode) + ".\r\n";
        EXPECT_EQ(error.Message().substr(0, prefix.size()), prefix);
        EXPECT_GT(error.Message().size(), prefix.size()) << "the system's text follows";
        EXPECT_NE(error.Message().back(), '\n');
    }
}

TEST(GetExeVersion, ExecutableWithoutVersionResourceGivesZeros)
{
    const TExeVersion version = GetExeVersion();
    EXPECT_EQ(version.Major + version.Minor + version.Release + version.Build, 0);
    EXPECT_EQ(FormatExeVersion(), "0.00");
}

// The three cases share one file beside this test program, so they run in
// turn within one test rather than as tests that may run side by side.
class StaleLog {
public:
    StaleLog() { Remove(); }
    ~StaleLog() { Remove(); }
    StaleLog(const StaleLog&) = delete;
    StaleLog& operator=(const StaleLog&) = delete;

    void Remove() const
    {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    void Write(DWORD attributes = FILE_ATTRIBUTE_NORMAL) const
    {
        std::ofstream(path_) << "old log";
        SetFileAttributesA(path_.c_str(), attributes);
    }
    bool MakeDirectory() const { return CreateDirectoryA(path_.c_str(), nullptr) != FALSE; }
    bool Exists() const { return GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    const std::string path_ = ExeFolder() + "log.txt";
};

TEST(DeleteStaleLogFile, RemovesAnOldLogFileAndLeavesAnythingItCannotRemove)
{
    StaleLog log;
    log.Write();
    ASSERT_TRUE(log.Exists());
    DeleteStaleLogFile();
    EXPECT_FALSE(log.Exists());
    EXPECT_NO_THROW(DeleteStaleLogFile()) << "nothing there: nothing happens";

    log.Write(FILE_ATTRIBUTE_READONLY);
    EXPECT_NO_THROW(DeleteStaleLogFile());
    EXPECT_TRUE(log.Exists()) << "a read-only file stays";
    log.Remove();

    ASSERT_TRUE(log.MakeDirectory());
    EXPECT_NO_THROW(DeleteStaleLogFile());
    EXPECT_TRUE(log.Exists()) << "a directory of that name stays";
}

}  // namespace
