// The Windows 7 to 11 record layout: which subkeys have it, which values it
// accepts, and how it names and counts its entries.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <regex>

#include "HistoryEntries.h"
#include "TestData.h"
#include "history/KnownFolders.h"
#include "history/StartMenuHistory.h"
#include "registry/MemoryRegistrySource.h"
#include "registry/Registry.h"

namespace {

constexpr const char* Executables = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
constexpr const char* Shortcuts = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
constexpr std::uint64_t SomeTime = 0x01D04B00A1022560;  // 2015-02-17 22:25:26.710

std::vector<std::uint8_t> Record(std::int32_t runs, std::uint32_t focusCount, std::uint32_t focusTime,
                                 std::uint64_t time = SomeTime)
{
    const auto bytes = EncodeCurrentUserAssistRecord({runs, MakeFileTime(time), focusCount, focusTime});
    return {bytes.begin(), bytes.end()};
}

MemoryRegistrySource::Key& UserAssistSubKey(MemoryRegistrySource& registry, const std::string& name)
{
    return registry.CreateKey(RegistryRoot::CurrentUser, std::string(UserAssistKeyPath) + "\\" + name);
}

class CurrentLayoutTest : public testing::Test {
protected:
    MemoryRegistrySource::Key& SubKey(const std::string& name) { return UserAssistSubKey(registry_, name); }
    MemoryRegistrySource::Key& CurrentKey(const std::string& name = Executables)
    {
        SubKey(name).SetValue("Version", RegistryType::DWord, {5, 0, 0, 0});
        return SubKey(name).SubKey("Count");
    }
    MemoryRegistrySource registry_;
    ScopedRegistrySource use_{registry_};
};

TEST_F(CurrentLayoutTest, TakesTheLayoutFromTheSubkeysOwnVersionOnly)
{
    using Fault = MemoryRegistrySource::ValueFault;
    const struct {
        const char* Label;
        std::uint32_t Type;
        std::vector<std::uint8_t> Data;
        Fault ReadFault;
        bool Current;
    } cases[] = {
        {"DWORD 5", RegistryType::DWord, {5, 0, 0, 0}, Fault::None, true},
        {"DWORD 3", RegistryType::DWord, {3, 0, 0, 0}, Fault::None, false},
        {"DWORD 5 of 8 bytes", RegistryType::DWord, {5, 0, 0, 0, 0, 0, 0, 0}, Fault::None, false},
        {"binary 5", RegistryType::Binary, {5, 0, 0, 0}, Fault::None, false},
        {"string 5", RegistryType::String, {'5', 0}, Fault::None, false},
        {"unreadable DWORD 5", RegistryType::DWord, {5, 0, 0, 0}, Fault::DataReadFails, false},
        {"missing", RegistryType::DWord, {}, Fault::Vanishes, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Label);
        MemoryRegistrySource registry;
        ScopedRegistrySource use(registry);
        auto& subKey = UserAssistSubKey(registry, Executables);
        subKey.SetValue("Version", test.Type, test.Data).Fault = test.ReadFault;
        subKey.SubKey("Count").SetValue(Rot13("C:\\tool.exe"), RegistryType::Binary, Record(4, 9, 1000));
        TStartHistory history;
        if (!test.Current) {
            EXPECT_THROW(history.ReadHistory(), ERegistryException) << "a 72-byte record is too long for 16 bytes";
            continue;
        }
        history.ReadHistory();
        TStartItem item;
        history.GetItem(0, item);
        EXPECT_EQ(item.Layout, UserAssistLayout::Current);
        EXPECT_EQ(item.FocusCount, 9u);
        EXPECT_EQ(registry.OpenHandleCount(), 0);
    }
}

TEST_F(CurrentLayoutTest, ReadsASubkeyItCannotOpenInTheClassicLayout)
{
    auto& count = CurrentKey();
    SubKey(Executables).Access = MemoryRegistrySource::KeyAccess::None;  // its "Count" still opens
    count.SetValue(Rot13("UEME_RUNPATH:C:\\a.exe"), RegistryType::Binary, {0, 0, 0, 0, 3, 0, 0, 0});
    const std::vector<TStartItem> items = ReadHistoryEntries();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Layout, UserAssistLayout::Classic);
    EXPECT_EQ(items[0].ExecCount, 3);
}

TEST_F(CurrentLayoutTest, AcceptsRecordsUpToTheirSizeAndSessionsOfAnySize)
{
    std::vector<std::uint8_t> session(1612, 0xAB);  // offset 60 lies in a name: never a time
    for (std::size_t i = 0; i < 16; ++i)
        session[i] = static_cast<std::uint8_t>(i < 4 ? 0 : i);
    const struct {
        const char* Decoded;
        std::uint32_t Type;
        std::vector<std::uint8_t> Data;
        std::int32_t Runs;
        std::uint32_t FocusCount;
        const char* Text;
    } cases[] = {
        {"empty", RegistryType::Binary, {}, 0, 0, "Unknown"},
        {"short", RegistryType::Binary, {9, 9, 9, 9, 7, 0, 0, 0, 2}, 7, 2, "Unknown"},
        {"whole", RegistryType::Binary, Record(-2, 3, 4), -2, 3, "02/17/2015 22:25:26"},
        {"top bit time", RegistryType::Binary, Record(1, 1, 1, 0x8000000000000001), 1, 1, "Unknown"},
        {"UEME_CTLSESSION", RegistryType::Binary, session, 0x07060504, 0x0B0A0908, "No Data"},
        {"UEME_CTLSESSION ", RegistryType::Binary, {}, 0, 0, "Unknown"},  // an ordinary name
        {"UEME_CTLSESSION:", RegistryType::Binary, {}, 0, 0, "No Data"},  // classic rules: its prefix says session
        {"none type", RegistryType::None, Record(5, 6, 7), 5, 6, "02/17/2015 22:25:26"},
    };
    auto& count = CurrentKey();
    for (const auto& test : cases)
        count.SetValue(Rot13(test.Decoded), test.Type, test.Data);
    CurrentKey(Shortcuts).SetValue(Rot13("ueme_ctlsession"), RegistryType::Binary,
                                   std::vector<std::uint8_t>(100'000, 1));
    const std::vector<TStartItem> items = ReadHistoryEntries();
    ASSERT_EQ(items.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].Decoded);
        EXPECT_EQ(items[i].ExecCount, cases[i].Runs);
        EXPECT_EQ(items[i].FocusCount, cases[i].FocusCount);
        EXPECT_EQ(items[i].LastExecutedText, cases[i].Text);
    }
    EXPECT_EQ(items[4].FocusTime, 0x0F0E0D0Cu);
    EXPECT_EQ(items[4].LastExecutedFileTime, 0u);
    EXPECT_DOUBLE_EQ(items[4].LastExecuted, FileTimeEpoch);
    EXPECT_DOUBLE_EQ(items[3].LastExecuted, FileTimeEpoch);
    EXPECT_EQ(items[3].LastExecutedFileTime, 0x8000000000000001u) << "the raw time stays as stored";
    EXPECT_EQ(items.back().ItemType, sitSession) << "the session value's name is matched without case";
    EXPECT_EQ(items.back().ExecCount, 0x01010101);
}

TEST_F(CurrentLayoutTest, StillRefusesLongerValuesAndTextOrNumbersKeepingTheEntriesBefore)
{
    const struct {
        const char* Label;
        bool CurrentLayout;
        const char* Decoded;
        std::uint32_t Type;
        std::size_t Size;
    } cases[] = {
        {"73 bytes", true, "C:\\long.exe", RegistryType::Binary, 73},
        {"1612 bytes, not the session", true, "UEME_CTLSESSIONS", RegistryType::Binary, 1612},
        {"session as DWORD", true, "UEME_CTLSESSION", RegistryType::DWord, 4},
        {"session as string", true, "UEME_CTLSESSION", RegistryType::String, 2},
        {"session as expandable string", true, "UEME_CTLSESSION", RegistryType::ExpandString, 2},
        {"17 bytes, classic", false, "UEME_RUNPATH:C:\\long.exe", RegistryType::Binary, 17},
        {"72 bytes, classic", false, "UEME_RUNPATH:C:\\long.exe", RegistryType::Binary, 72},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Label);
        MemoryRegistrySource registry;
        ScopedRegistrySource use(registry);
        auto& subKey = UserAssistSubKey(registry, Executables);
        if (test.CurrentLayout)
            subKey.SetValue("Version", RegistryType::DWord, {5, 0, 0, 0});
        auto& count = subKey.SubKey("Count");
        count.SetValue(Rot13("UEME_RUNPATH:C:\\first.exe"), RegistryType::Binary, {});
        count.SetValue(Rot13("C:\\second.exe"), RegistryType::Binary, {});
        count.SetValue(Rot13(test.Decoded), test.Type, std::vector<std::uint8_t>(test.Size, 1));
        count.SetValue(Rot13("C:\\after.exe"), RegistryType::Binary, {});
        TStartHistory history;
        EXPECT_EQ(ReadHistoryError(history), "Invalid data type for '" + Rot13(test.Decoded) + "'");
        EXPECT_EQ(history.Count(), 2);
        EXPECT_EQ(registry.OpenHandleCount(), 0);
    }
}

TEST_F(CurrentLayoutTest, NeverTakesTheDataOfAnotherValueForOneThatVanished)
{
    auto& count = CurrentKey();
    count.SetValue(Rot13("C:\\gone.exe"), RegistryType::Binary, Record(1, 1, 1)).Fault =
        MemoryRegistrySource::ValueFault::Vanishes;
    count.SetValue(Rot13("C:\\next.exe"), RegistryType::Binary, Record(8, 8, 8));
    count.SetValue(Rot13("C:\\last.exe"), RegistryType::Binary, Record(9, 9, 9)).Fault =
        MemoryRegistrySource::ValueFault::Vanishes;
    const std::vector<TStartItem> items = ReadHistoryEntries();
    ASSERT_EQ(items.size(), 3u);
    for (const std::size_t gone : {0u, 2u}) {
        EXPECT_EQ(items[gone].ExecCount, 0) << items[gone].FileName;
        EXPECT_EQ(items[gone].FocusCount, 0u) << items[gone].FileName;
        EXPECT_EQ(items[gone].LastExecutedText, "Unknown") << items[gone].FileName;
    }
    EXPECT_EQ(items[1].ExecCount, 8);
}

TEST(CurrentLayoutNames, SplitOnlyClassicNamesAndReplaceOnlyLeadingKnownFolders)
{
    const struct {
        const char* SubKey;
        const char* Decoded;
        const char* FileName;
        TStartItemType Kind;
    } cases[] = {
        {Executables, "C:\\Users\\x\\tool.exe", "C:\\Users\\x\\tool.exe", sitExecutable},
        {Executables, "Microsoft.Windows.Explorer", "Microsoft.Windows.Explorer", sitExecutable},
        {Shortcuts, "\\\\server\\share\\x.lnk", "\\\\server\\share\\x.lnk", sitShortcut},
        {"{f4e57c4b-2036-45f0-a9ab-443bcfe33d9f}", "{0139d44e-6afe-49f2-8690-3dafcae6ffb8}\\x.lnk",
         "[CommonPrograms]\\x.lnk", sitShortcut},
        {"{FA99DFC7-6AC2-453A-A5E2-5E2AFF4507BD}", "app_8wekyb3d8bbwe:App.wwa", "app_8wekyb3d8bbwe:App.wwa", sitOther},
        {"Other", "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\cmd.exe", "[System]\\cmd.exe", sitOther},
        // Names beginning "UEME_" keep the classic rules, placeholders included.
        {Executables, "UEME_CTLCUACount:ctor", "ctor", sitOther},
        {Executables, "ueme_runpath:C:\\a.exe", "C:\\a.exe", sitExecutable},
        {Shortcuts, "UEME_RUNPIDL:%csidl2%\\x.lnk", "[Start Menu]\\x.lnk", sitShortcut},
        {Shortcuts, "%csidl2%\\x.lnk", "%csidl2%\\x.lnk", sitShortcut},
        // The folders the classic placeholders stand for, and OneDrive's shared GUID.
        {Shortcuts, "{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}\\x.lnk", "[Start Menu]\\x.lnk", sitShortcut},
        {Shortcuts, "{1777F761-68AD-4D8A-87BD-30B759FA33DD}\\x.url", "[Favorites]\\x.url", sitShortcut},
        {Executables, "{A52BBA46-E9E1-435F-B3D9-28DAA648C0F6}\\x.exe", "[OneDrive]\\x.exe", sitExecutable},
        {Executables, "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}", "[ProgramFilesX86]", sitExecutable},
        {Shortcuts, "{9E3995AB-1F9C-4F13-B827-48B24B6C7174}\\TaskBar\\x.lnk", "[UserPinned]\\TaskBar\\x.lnk",
         sitShortcut},
        // GUIDs that are no known folder, or do not begin the name, stay.
        {Shortcuts, "{ED228FDF-9EA8-4870-83B1-96B02CFE0D52}\\x", "{ED228FDF-9EA8-4870-83B1-96B02CFE0D52}\\x",
         sitShortcut},
        {Shortcuts, "::{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", "::{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}",
         sitShortcut},
        {Executables, "Microsoft.AutoGenerated.{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}",
         "Microsoft.AutoGenerated.{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", sitExecutable},
        {Executables, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B}\\x", "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B}\\x",
         sitExecutable},
        {Executables, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7\\x", "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7\\x",
         sitExecutable},
    };
    for (const auto& test : cases) {
        const TStartItem item =
            DecodeUserAssistValue(test.SubKey, Rot13(test.Decoded), Record(1, 1, 1), UserAssistLayout::Current);
        EXPECT_EQ(item.FileName, test.FileName) << test.Decoded;
        EXPECT_EQ(item.ItemType, test.Kind) << test.Decoded;
        EXPECT_EQ(item.StoredName, Rot13(test.Decoded));
        EXPECT_EQ(item.SubKey, test.SubKey);
    }
}

TEST(KnownFolders, NameEveryFolderOfThePlatformHeaders)
{
    const std::filesystem::path header = "/usr/share/mingw-w64/include/knownfolders.h";
    if (!std::filesystem::exists(header))
        GTEST_SKIP() << "no " << header;
    std::ifstream in(header);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    // DEFINE_KNOWN_FOLDER(FOLDERID_Name, 0x1ac14e77, 0x02e7, 0x4e5d, 0xb7, 0x44, 0x2e, ...)
    const std::regex define(R"(DEFINE_KNOWN_FOLDER\s*\(\s*FOLDERID_(\w+)((?:\s*,\s*0x[0-9a-fA-F]+){11})\s*\))");
    int folders = 0;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), define); match != std::sregex_iterator();
         ++match) {
        std::istringstream fields((*match)[2]);
        unsigned long parts[11];
        char comma;
        for (unsigned long& part : parts)
            fields >> comma >> std::hex >> part;
        char guid[39];
        std::snprintf(guid, sizeof guid, "{%08lX-%04lX-%04lX-%02lX%02lX-%02lX%02lX%02lX%02lX%02lX%02lX}", parts[0],
                      parts[1], parts[2], parts[3], parts[4], parts[5], parts[6], parts[7], parts[8], parts[9],
                      parts[10]);
        const std::string constant = (*match)[1];
        const std::string expected = constant == "Programs"                             ? "Start Menu"
                                     : constant == "SkyDrive" || constant == "OneDrive" ? "OneDrive"
                                                                                        : constant;
        EXPECT_EQ(KnownFolderName(guid), expected) << constant << " " << guid;
        ++folders;
    }
    EXPECT_EQ(folders, 141);
}

}  // namespace
