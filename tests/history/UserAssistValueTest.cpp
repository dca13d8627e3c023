#include "history/UserAssistValue.h"

#include <gtest/gtest.h>

namespace {

TEST(Rot13, RotatesOnlyTheAsciiLetters)
{
    EXPECT_EQ(Rot13("HRZR_EHACNGU:P:\\k.rkr"), "UEME_RUNPATH:C:\\x.exe");
    EXPECT_EQ(Rot13("Hello, World! 0123456789"), "Uryyb, Jbeyq! 0123456789");
    EXPECT_EQ(Rot13(""), "");
    std::string everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += static_cast<char>(c);
    const std::string rotated = Rot13(everyByte);
    ASSERT_EQ(rotated.size(), 256u);
    int changed = 0;
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        changed += rotated[c] != everyByte[c];
        EXPECT_EQ(rotated[c] != everyByte[c], letter) << c;
    }
    EXPECT_EQ(changed, 52);
    EXPECT_EQ(Rot13(rotated), everyByte);
}

TEST(StartItemTypeOfPrefix, MatchesWholePrefixesIgnoringTheCaseOfAsciiLettersOnly)
{
    const struct {
        const char* Prefix;
        TStartItemType Kind;
    } cases[] = {
        {"UEME_RUNPIDL", sitShortcut},       {"UEME_RUNPATH", sitExecutable},  {"UEME_CTLSESSION", sitSession},
        {"UEME_UIHOTKEY", sitHotKey},        {"UEME_RUNWMCMD", sitRunCommand}, {"UEME_RUNCPL", sitControlPanel},
        {"UEME_UITOOLBAR", sitDesktopToolbar}, {"ueme_runpath", sitExecutable}, {"Ueme_RunPidl", sitShortcut},
        {"UEME_RUNPATHX", sitOther},         {"UEME_RUNPAT", sitOther},        {"UEME_RUNCPL ", sitOther},
        {"", sitOther},                       {"UEME_OTHER", sitOther},         {"UEME_CTLCUACount", sitOther},
        {"UEME-RUNPATH", sitOther},           // '-' is no case form of '_'
        {"UEME\x7fRUNPATH", sitOther},        // nor is DEL (0x5F + 0x20)
        {"\xd5\xc5ME_RUNPATH", sitOther},     // code-page letters are compared as they are
    };
    for (const auto& test : cases)
        EXPECT_EQ(StartItemTypeOfPrefix(test.Prefix), test.Kind) << test.Prefix;
}

TEST(StartItemTypeToStr, GivesEveryKindItsText)
{
    const char* expected[] = {"Shortcut",    "Executable",    "Session",         "Hot Key",
                              "Run Command", "Control Panel", "Desktop Toolbar", "Other"};
    for (int kind = sitShortcut; kind <= sitOther; ++kind)
        EXPECT_EQ(StartItemTypeToStr(static_cast<TStartItemType>(kind)), expected[kind]);
    EXPECT_EQ(sizeof(TStartItemType), 1u);
}

TEST(ReplaceFolderPlaceholders, ReplacesOnlyTheTwoLowerCasePlaceholdersEverywhere)
{
    const struct {
        const char* Text;
        const char* Expected;
    } cases[] = {
        {"%csidl2%\\x.lnk", "[Start Menu]\\x.lnk"},
        {"%CSIDL2%\\x.lnk", "%CSIDL2%\\x.lnk"},
        {"%csidl6%\\a\\%csidl6%\\b.url", "[Favorites]\\a\\[Favorites]\\b.url"},
        {"%csidl2%%csidl6%%csidl2%", "[Start Menu][Favorites][Start Menu]"},
        {"%csidl5%\\x %csidl%", "%csidl5%\\x %csidl%"},
        {"%csidl2", "%csidl2"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(ReplaceFolderPlaceholders(test.Text), test.Expected) << test.Text;
}

TEST(UserAssistRecord, DecodesLittleEndianFieldsAndIgnoresTheFirstFour)
{
    const UserAssistRecordBytes bytes = {0xde, 0xad, 0xbe, 0xef, 0x2a, 0x00, 0x00, 0x00,
                                         0x78, 0x56, 0x34, 0x12, 0xf0, 0xde, 0xbc, 0x01};
    const UserAssistRecord record = DecodeUserAssistRecord(bytes);
    EXPECT_EQ(record.ExecCount, 42);
    EXPECT_EQ(FileTimeTicks(record.LastExecuted), 0x01bcdef012345678u);
    UserAssistRecordBytes encoded = EncodeUserAssistRecord(record);
    EXPECT_TRUE(std::equal(bytes.begin() + 4, bytes.end(), encoded.begin() + 4));
    const UserAssistRecordBytes negative = {0, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeUserAssistRecord(negative).ExecCount, -2);
}

struct NameCase {
    const char* Decoded;
    TStartItemType Kind;
    const char* FileName;
};

TEST(DecodeUserAssistValue, SplitsThePrefixAtTheFirstColon)
{
    const NameCase cases[] = {
        {"UEME_RUNPATH:C:\\a.exe", sitExecutable, "C:\\a.exe"},
        {"ueme_runpath:C:\\b.exe", sitExecutable, "C:\\b.exe"},
        {"UEME_RUNPIDL:%csidl2%\\x.lnk", sitShortcut, "[Start Menu]\\x.lnk"},
        {"UEME_RUNPIDL:%CSIDL2%\\x.lnk", sitShortcut, "%CSIDL2%\\x.lnk"},
        {"UEME_RUNPIDL:::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", sitShortcut,
         "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
        {"UEME_CTLSESSION", sitSession, "UEME_CTLSESSION"},
        {"UEME_OTHER:abc", sitOther, "abc"},
        {"no prefix here", sitOther, "no prefix here"},
        {":abc", sitOther, "abc"},
        {"UEME_RUNPATH:", sitExecutable, ""},
        {"", sitOther, ""},
        {"%csidl2%:%csidl2%", sitOther, "[Start Menu]"},  // the prefix is never replaced
    };
    for (const NameCase& test : cases) {
        const TStartItem item = DecodeUserAssistValue(Rot13(test.Decoded), {7, MakeFileTime(1)});
        EXPECT_EQ(item.ItemType, test.Kind) << test.Decoded;
        EXPECT_EQ(item.FileName, test.FileName) << test.Decoded;
        EXPECT_EQ(item.ExecCount, 7);
    }
}

}  // namespace
