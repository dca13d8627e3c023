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

class StaleLogFile : public testing::Test {
protected:
    void TearDown() override
    {
        SetFileAttributesA(log_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(log_.c_str());
        RemoveDirectoryA(log_.c_str());
    }
    bool Exists() const { return GetFileAttributesA(log_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    const std::string log_ = ExeFolder() + "log.txt";
};

TEST_F(StaleLogFile, IsDeletedFromTheExecutablesFolder)
{
    std::ofstream(log_) << "old log";
    ASSERT_TRUE(Exists());
    DeleteStaleLogFile();
    EXPECT_FALSE(Exists());
    DeleteStaleLogFile();  // nothing there: nothing happens
    EXPECT_FALSE(Exists());
}

TEST_F(StaleLogFile, ThatCannotBeDeletedStaysWithoutAnError)
{
    std::ofstream(log_) << "old log";
    SetFileAttributesA(log_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NO_THROW(DeleteStaleLogFile());
    EXPECT_TRUE(Exists());
}

TEST_F(StaleLogFile, DirectoryOfThatNameStays)
{
    ASSERT_TRUE(CreateDirectoryA(log_.c_str(), nullptr));
    EXPECT_NO_THROW(DeleteStaleLogFile());
    EXPECT_TRUE(Exists());
}

}  // namespace
