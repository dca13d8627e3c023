// The reader over the UserAssist areas of 13 real user hives, loaded from
// their exports, against what independent tools found in them.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "HistoryEntries.h"
#include "UserAssistHives.h"
#include "registry/RegFileLoader.h"

namespace {

std::vector<TStartItem> ReadExport(const UserAssistHive& hive)
{
    MemoryRegistrySource registry;
    ScopedRegistrySource use(registry);
    LoadRegFile(ReadFileBytes(ExportOf(hive)), registry);
    return ReadHistoryEntries();
}

const UserAssistHive& Hive(const char* folder, const char* hiveName)
{
    for (const UserAssistHive& hive : UserAssistHives)
        if (std::string(hive.Folder) == folder && std::string(hive.Hive) == hiveName)
            return hive;
    throw std::logic_error("no such hive");
}

class UserAssistExports : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(HivesDir()))
            GTEST_SKIP() << "no shared test data at " << HivesDir();
    }
};

TEST_F(UserAssistExports, GiveOneEntryForEveryValueOfEveryHive)
{
    const std::regex drivePath(R"(^[A-Za-z]:\\)");
    int total = 0;
    for (const UserAssistHive& hive : UserAssistHives) {
        SCOPED_TRACE(NameOf(hive));
        const std::vector<TStartItem> items = ReadExport(hive);
        ASSERT_EQ(static_cast<int>(items.size()), hive.Values);
        total += hive.Values;
        const bool windowsXp = hive.Values == 16;
        int sessions = 0, knownFolders = 0, drivePaths = 0;
        for (const TStartItem& item : items) {
            EXPECT_EQ(item.Layout, windowsXp ? UserAssistLayout::Classic : UserAssistLayout::Current) << item.FileName;
            sessions += item.ItemType == sitSession;
            if (item.Layout != UserAssistLayout::Current)
                continue;
            knownFolders += item.FileName.starts_with('[');
            drivePaths += std::regex_search(item.FileName, drivePath);
        }
        EXPECT_EQ(sessions, hive.Sessions);
        EXPECT_EQ(knownFolders, hive.KnownFolders);
        EXPECT_EQ(drivePaths, hive.DrivePaths);
    }
    EXPECT_EQ(total, 1193);
}

struct RealEntry {
    const char* Folder;
    const char* Hive;
    const char* SubKey;  // its first eight digits
    const char* FileName;
    TStartItemType Kind;
    std::int32_t Runs;
    std::uint32_t FocusCount;
    std::uint32_t FocusTime;
    const char* LastExecutedText;
};

// Decoded by hand from the raw records (offsets 4, 8, 12 and 60; the classic
// layout's 4 and 8), times in UTC as stored.
constexpr RealEntry RealEntries[] = {
    {"notatin", "win7_ntuser.dat", "{CEBFF5CD", "[ProgramFilesX86]\\Notepad++\\notepad++.exe", sitExecutable, 21, 180,
     6'666'055, "02/17/2015 22:25:26"},
    {"notatin", "win7_ntuser.dat", "{F4E57C4B", "C:\\Users\\Public\\Desktop\\EnCase v6.17.lnk", sitShortcut, 17, 0, 17,
     "02/26/2015 20:13:12"},
    {"notatin", "win7_ntuser.dat", "{CEBFF5CD", "[System]\\cmd.exe", sitExecutable, 6, 28, 1'675'909,
     "02/19/2015 20:07:20"},
    {"notatin", "win7_ntuser.dat", "{CEBFF5CD", "TrueCryptFoundation.TrueCrypt", sitExecutable, 1, 0, 18'050,
     "02/18/2015 23:21:15"},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "{CEBFF5CD", "VMware.Workstation.vmui", sitExecutable, 2, 297, 23'807'862,
     "05/29/2022 08:56:54"},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "{CEBFF5CD", "[Windows]\\regedit.exe", sitExecutable, 1, 5, 270'923,
     "05/29/2022 09:02:17"},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "{CEBFF5CD", "C:\\ProgramData\\Anaconda3\\Scripts\\ipython.exe", sitExecutable,
     2, 21, 716'215, "05/29/2022 08:36:52"},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "{F4E57C4B", "[CommonPrograms]\\Administrative Tools\\Registry Editor.lnk",
     sitShortcut, 1, 0, 1, "05/29/2022 09:02:17"},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "{F4E57C4B", "[Start Menu]\\System Tools\\Command Prompt.lnk", sitShortcut, 2, 0,
     2, "05/29/2022 08:36:25"},
    {"plaso", "NTUSER-WIN7.DAT", "{CEBFF5CD", "Microsoft.Windows.ControlPanel", sitExecutable, 0, 23, 609'363,
     "Unknown"},
    {"plaso", "NTUSER-WIN7.DAT", "{CEBFF5CD", "Microsoft.Windows.GettingStarted", sitExecutable, 14, 21, 420'000,
     "11/10/2010 07:49:37"},
    // The session value: the key's totals, and no time.
    {"plaso", "NTUSER-WIN7.DAT", "{CEBFF5CD", "UEME_CTLSESSION", sitSession, 160, 492, 39'088'331, "No Data"},
    // The marker keeps the classic rules: split at its colon.
    {"plaso", "NTUSER-WIN7.DAT", "{CEBFF5CD", "ctor", sitOther, 0, 0, 0, "Unknown"},
    // Windows XP: counts as stored, no focus fields.
    {"plaso", "NTUSER.DAT", "{75048700", "C:\\WINDOWS\\system32\\NOTEPAD.EXE", sitExecutable, 7, 0, 0,
     "08/04/2009 15:19:23"},
    {"plaso", "NTUSER.DAT", "{75048700", "[Start Menu]\\MSN.lnk", sitShortcut, 19, 0, 0, "08/04/2009 15:11:22"},
    {"plaso", "NTUSER.DAT", "{75048700", "ctor", sitOther, 2, 0, 0, "Unknown"},
    {"plaso", "NTUSER.DAT", "{5E6AB780", "UEME_CTLSESSION", sitSession, 1, 0, 0, "No Data"},
};

TEST_F(UserAssistExports, DecodeRealRecordsAsTheyWereMeasured)
{
    for (const RealEntry& expected : RealEntries) {
        SCOPED_TRACE(std::string(expected.Hive) + ": " + expected.FileName);
        const std::vector<TStartItem> items = ReadExport(Hive(expected.Folder, expected.Hive));
        const auto found = std::find_if(items.begin(), items.end(), [&](const TStartItem& item) {
            return item.FileName == expected.FileName && item.SubKey.starts_with(expected.SubKey);
        });
        ASSERT_NE(found, items.end());
        EXPECT_EQ(found->ItemType, expected.Kind);
        EXPECT_EQ(found->ExecCount, expected.Runs);
        EXPECT_EQ(found->FocusCount, expected.FocusCount);
        EXPECT_EQ(found->FocusTime, expected.FocusTime);
        EXPECT_EQ(found->LastExecutedText, expected.LastExecutedText);
        if (expected.Kind == sitSession || std::string(expected.LastExecutedText) == "Unknown") {
            EXPECT_DOUBLE_EQ(found->LastExecuted, FileTimeEpoch);
        }
    }
}

TEST_F(UserAssistExports, KeepTheRawTimeToTheTick)
{
    // notatin/win7_ntuser.dat's Notepad++ record ends in 60 25 02 a1 00 4b d0 01:
    // 2015-02-17 22:25:26.710 UTC.
    const std::vector<TStartItem> items = ReadExport(Hive("notatin", "win7_ntuser.dat"));
    const auto notepad = std::find_if(items.begin(), items.end(), [](const TStartItem& item) {
        return item.FileName == "[ProgramFilesX86]\\Notepad++\\notepad++.exe";
    });
    ASSERT_NE(notepad, items.end());
    EXPECT_EQ(notepad->LastExecutedFileTime, 0x01D04B00A1022560u);
    EXPECT_EQ(notepad->StoredName, "{7P5N40RS-N0SO-4OSP-874N-P0S2R0O9SN8R}\\Abgrcnq++\\abgrcnq++.rkr");
    EXPECT_EQ(notepad->SubKey, "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}");
}

TEST_F(UserAssistExports, LeaveNamesThatAreNoKnownFolderPathAsStored)
{
    const struct {
        const char* Folder;
        const char* Hive;
        const char* FileName;
        TStartItemType Kind;
    } cases[] = {
        {"plaso", "NTUSER-WIN7.DAT", "\\\\controller\\WebDavShare\\Firefox Setup 3.6.12.exe", sitExecutable},
        {"plaso", "NTUSER-WIN7.DAT", "::{ED228FDF-9EA8-4870-83B1-96B02CFE0D52}\\{00D8862B-6453-4957-A821-3D98D74C76BE}",
         sitShortcut},
        {"plaso", "NTUSER-WIN7.DAT", "[UserPinned]\\TaskBar\\Google Chrome.lnk", sitShortcut},
        {"regipy", "NTUSER.DAT.xz", "[SystemX86]\\calc.exe", sitExecutable},
        {"regipy", "NTUSER_BAGMRU.DAT.xz", "Microsoft.AutoGenerated.{923DD477-5846-686B-A659-0FCCD73851A8}",
         sitExecutable},
        {"regipy", "NTUSER_BAGMRU.DAT.xz", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", sitExecutable},
        {"regipy", "NTUSER_BAGMRU.DAT.xz", "C:\\Users\\tony\\Desktop\\\xd7\xaa\xd7\x95\xd7\x9e\xd7\xa8 - Chrome.lnk",
         sitShortcut},
        {"notatin", "win7_ntuser.dat", "C:\\PROGRA~2\\MICROS~1\\Office14\\OUTLOOK.EXE", sitExecutable},
        {"notatin", "win7_ntuser.dat",
         "C:\\Users\\jmroberts\\Desktop\\USB_Research\\ChipEasy1."
         "630\\\xc3\x90\xc2\xbe\xc3\x86\xc2\xac\xc3\x8e\xc3\x9e\xc3\x93\xc3\x87.exe",
         sitExecutable},
        // A Windows 8 app in a subkey of neither executables nor shortcuts: its colon stays.
        {"notatin", "NTUSER.DAT",
         "microsoft.windowscommunicationsapps_8wekyb3d8bbwe:Microsoft.WindowsLive.Mail."
         "AppX3e0nz1hxstg9yxatwr4713ap5rg9r4k3.wwa",
         sitOther},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.FileName);
        const std::vector<TStartItem> items = ReadExport(Hive(expected.Folder, expected.Hive));
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](const TStartItem& item) { return item.FileName == expected.FileName; });
        ASSERT_NE(found, items.end());
        EXPECT_EQ(found->ItemType, expected.Kind);
    }
}

}  // namespace
