#include "registry/RegFile.h"

#include <gtest/gtest.h>

#include "base/TextEncoding.h"
#include "registry/RegFileLoader.h"
#include "registry/Registry.h"

namespace {

// Writes down what a file says, one line per event.
class Transcript final : public RegFileSink {
public:
    void Key(const std::string& path) override { text += "[" + path + "]\n"; }
    void DeleteKey(const std::string& path) override { text += "[-" + path + "]\n"; }
    void Value(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) override
    {
        text += "\"" + name + "\" " + std::to_string(type) + ":";
        for (const std::uint8_t byte : data)
            text += " " + std::to_string(byte);
        text += "\n";
    }
    void DeleteValue(const std::string& name) override { text += "\"" + name + "\" -\n"; }

    std::string text;
};

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// UTF-16LE with a byte-order mark, as regedit writes (the text's characters
// all below U+0100 here, so each is one code unit).
std::vector<std::uint8_t> Utf16WithBom(std::string_view latin1)
{
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (const char c : latin1) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

std::string Read(const std::vector<std::uint8_t>& file)
{
    Transcript transcript;
    ReadRegFile(file, transcript);
    return transcript.text;
}

constexpr const char* Header = "Windows Registry Editor Version 5.00\r\n\r\n";

TEST(RegFile, ReadsEveryKindOfLineThatExportsHold)
{
    const struct {
        const char* Label;
        std::string Body;
        const char* Expected;
    } cases[] = {
        {"binary, dword, string and default value",
         "[HKEY_CURRENT_USER\\A\\B]\r\n\"Bin\"=hex:01,ff\r\n\"Num\"=dword:0000002a\r\n\"Text\"=\"x\"\r\n@=\"d\"\r\n",
         "[HKEY_CURRENT_USER\\A\\B]\n\"Bin\" 3: 1 255\n\"Num\" 4: 42 0 0 0\n\"Text\" 1: 120 0\n\"\" 1: 100 0\n"},
        {"typed hex, empty hex", "[K]\n\"None\"=hex(0):\n\"Multi\"=hex(7):61,00,00\n\"Big\"=hex(ffff0003):0A\n",
         "[K]\n\"None\" 0:\n\"Multi\" 7: 97 0 0\n\"Big\" 4294901763: 10\n"},
        {"escapes in names and strings", "[K]\n\"C:\\\\x \\\"y\\\"\"=\"a\\\\b\\\"c\"\n",
         "[K]\n\"C:\\x \"y\"\" 1: 97 92 98 34 99 0\n"},
        {"a hex list over three lines", "[K]\n\"L\"=hex:01,02,\\\r\n  03,04,\\\n  05\n\"N\"=dword:1\n",
         "[K]\n\"L\" 3: 1 2 3 4 5\n\"N\" 4: 1 0 0 0\n"},
        {"comments, blanks and deletions",
         "; a comment\n\n[-K\\Old]\n[K]\n\"Gone\"=-\n  \"Spaced\" = dword:ffffffff  \n",
         "[-K\\Old]\n[K]\n\"Gone\" -\n\"Spaced\" 4: 255 255 255 255\n"},
        {"a UTF-8 name", "[K]\n\"\xd7\xaa - Chrome.lnk\"=hex:\n", "[K]\n\"\xd7\xaa - Chrome.lnk\" 3:\n"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Read(Bytes(Header + test.Body)), test.Expected) << test.Label;
        EXPECT_EQ(Read(Bytes("\xEF\xBB\xBF" + (Header + test.Body))), test.Expected) << test.Label << " (BOM)";
    }
    // regedit's own form: UTF-16LE, read into UTF-8.
    EXPECT_EQ(Read(Utf16WithBom(std::string(Header) + "[K]\r\n\"\xe9t\xe9\"=dword:00000001\r\n")),
              "[K]\n\"\xc3\xa9t\xc3\xa9\" 4: 1 0 0 0\n");
}

TEST(RegFile, ReadsTheOlderAnsiExportsInWindows1252)
{
    // "REGEDIT4" files hold the ANSI code page: here 1252, where 0x80 is the
    // euro sign, 0x81 is unassigned and keeps its code point, 0xE9 is e-acute.
    EXPECT_EQ(Read(Bytes("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\\x80]\r\n\"caf\xe9 \x81\"=\"\x80\"\r\n"
                         "\"L\"=hex:01,\\\r\n  02\r\n\"Gone\"=-\r\n[-HKEY_CURRENT_USER\\Old]\r\n")),
              "[HKEY_CURRENT_USER\\\xe2\x82\xac]\n\"caf\xc3\xa9 \xc2\x81\" 1: 226 130 172 0\n\"L\" 3: 1 2\n"
              "\"Gone\" -\n[-HKEY_CURRENT_USER\\Old]\n");
    // Errors name their lines in these files too.
    try {
        Read(Bytes("\r\nREGEDIT4\r\n[K]\r\n\"A\"=dword:xyz\r\n"));
        ADD_FAILURE() << "no error";
    } catch (const ERegFileSyntax& error) {
        EXPECT_EQ(error.Line(), 4);
    }
}

TEST(RegFile, NamesTheFirstLineItCannotRead)
{
    const struct {
        std::string Body;
        int Line;
    } cases[] = {
        {"\"Orphan\"=dword:1\n", 3},
        {"[K]\n\"A\"=dword:1\n\"B\"=dword:123456789\n", 5},
        {"[K]\n\"A\"=dword:\n", 4},
        {"[K]\n\"A\"=hex:1,2\n", 4},
        {"[K]\n\"A\"=hex:01,,02\n", 4},
        {"[K]\n\"A\"=hex:0g\n", 4},
        {"[K]\n\"A\"=hex(x):00\n", 4},
        {"[K]\n\"A\"=hex:01,\\", 4},  // the file ends inside the list
        {"[K]\n\"A\"=\"unterminated\n", 4},
        {"[K]\n\"A\\q\"=\"x\"\n", 4},
        {"[K]\n\"A\"=\"x\" trailing\n", 4},
        {"[K]\n\"A\"=str:x\n", 4},
        {"[K]\nA=dword:1\n", 4},
        {"[K]\n\"A\" dword:1\n", 4},
        {"[K\n", 3},
        {"[]\n", 3},
        {"[K]\n[-K]\n\"A\"=dword:1\n", 5},  // a deleted key takes no values
    };
    for (const auto& test : cases) {
        Transcript transcript;
        try {
            ReadRegFile(Bytes(Header + test.Body), transcript);
            ADD_FAILURE() << "no error: " << test.Body;
        } catch (const ERegFileSyntax& error) {
            EXPECT_EQ(error.Line(), test.Line) << test.Body;
            EXPECT_TRUE(error.Message().starts_with("line " + std::to_string(test.Line) + ": ")) << error.Message();
        }
    }
}

TEST(RegFile, RefusesTextsThatAreNoExport)
{
    for (const char* text : {"", "\n\n", "REGEDIT5\n[K]\n", "REGEDIT\n", "[K]\n\"A\"=dword:1\n", "\x89PNG\r\n\x1a\n"}) {
        Transcript transcript;
        EXPECT_THROW(ReadRegFile(Bytes(text), transcript), ERegFileFormat) << text;
        EXPECT_EQ(transcript.text, "");
    }
}

TEST(RegFileLoader, FillsTheRootsItKnowsAndAppliesDeletions)
{
    MemoryRegistrySource registry;
    LoadRegFile(
        Bytes(std::string(Header) + "[HKEY_CURRENT_USER\\Software\\A]\n\"Keep\"=dword:00000007\n\"Drop\"=hex:01\n"
                                    "[HKCU\\Software\\A\\Old]\n\"X\"=hex:01\n"
                                    "[HKEY_USERS\\S-1-5-21\\Software\\A]\n\"Elsewhere\"=hex:01\n"
                                    "[hkey_local_machine\\Software\\B]\n\"M\"=\"m\"\n"
                                    "[-HKEY_CURRENT_USER\\Software\\A\\Old]\n"
                                    "[HKEY_CURRENT_USER\\Software\\A]\n\"Drop\"=-\n"),
        registry);
    TRegistry user(RegistryAccess::Read, registry);
    ASSERT_TRUE(user.OpenKey("Software\\A"));
    EXPECT_EQ(user.GetValueNames(), std::vector<std::string>{"Keep"});
    EXPECT_EQ(user.ReadDWordIfPresent("Keep"), 7u);
    EXPECT_TRUE(user.GetKeyNames().empty());
    EXPECT_FALSE(user.OpenKey("\\S-1-5-21"));
    TRegistry machine(RegistryAccess::Read, registry);
    machine.SetRootKey(RegistryRoot::LocalMachine);
    ASSERT_TRUE(machine.OpenKey("Software\\B"));
    EXPECT_EQ(machine.ReadString("M"), "m");
}

TEST(TextEncoding, ConvertsUtf16AndLatin1IntoUtf8)
{
    const struct {
        std::vector<std::uint8_t> Utf16;
        const char* Utf8;
    } utf16[] = {
        {{'A', 0}, "A"},
        {{0xE9, 0}, "\xc3\xa9"},
        {{0xEA, 0x05, 0xD5, 0x05}, "\xd7\xaa\xd7\x95"},  // Hebrew
        {{0x3D, 0xD8, 0x00, 0xDE}, "\xf0\x9f\x98\x80"},  // a surrogate pair
        {{0x3D, 0xD8, 'x', 0}, "\xef\xbf\xbdx"},         // a lone high surrogate
        {{0x00, 0xDE}, "\xef\xbf\xbd"},                  // a lone low surrogate
        {{'A', 0, 'B'}, "A"},                            // an odd byte at the end
    };
    for (const auto& test : utf16)
        EXPECT_EQ(Utf16LeToUtf8(test.Utf16), test.Utf8) << test.Utf8;
    EXPECT_EQ(Latin1ToUtf8("a\x80\x9f\xa0\xff"), "a\xc2\x80\xc2\x9f\xc2\xa0\xc3\xbf");
    // Windows-1252: 0x80-0x9F are its own letters and signs, but for the five
    // bytes it leaves unassigned; the rest is Latin-1.
    EXPECT_EQ(Windows1252ToUtf8("\x80\x81\x8a\x9f\xa0\xff"), "\xe2\x82\xac\xc2\x81\xc5\xa0\xc5\xb8\xc2\xa0\xc3\xbf");
}

TEST(TextEncoding, CarriesUtf8ThroughUtf16AndMendsBrokenUtf8)
{
    const std::string good = "a\xc3\xa9\xd7\xaa\xe2\x82\xac\xf0\x9f\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(good), u"a\u00e9\u05ea\u20ac\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(good)), good);
    EXPECT_EQ(ValidUtf8(good), good);
    const struct {
        const char* Broken;
        const char* Mended;
    } cases[] = {
        {"a\xe9"
         "b",
         "a\xef\xbf\xbd"
         "b"},                                                                     // a Latin-1 byte
        {"\xc3", "\xef\xbf\xbd"},                                                  // a sequence cut short
        {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},                                  // an overlong "/"
        {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},                  // a surrogate
        {"\xf4\x90\x80\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // past U+10FFFF
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ValidUtf8(test.Broken), test.Mended) << test.Broken;
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(test.Broken)), test.Mended) << test.Broken;
    }
}

}  // namespace
