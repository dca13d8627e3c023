// The reader over the real hives' UserAssist areas, written into the Windows
// registry (Wine's) with their names in UTF-16, against a reading of the same
// keys through the wide-character calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "HistoryEntries.h"
#include "ScratchRegistry.h"
#include "UserAssistHives.h"
#include "Win32RegFileWriter.h"
#include "history/StartMenuHistory.h"

namespace {

struct RawValue {
    std::wstring Name;
    std::vector<std::uint8_t> Data;
};

struct RawSubKey {
    std::wstring Name;
    std::optional<DWORD> Version;
    std::vector<RawValue> Values;
};

std::uint64_t LittleEndianAt(const std::vector<std::uint8_t>& data, std::size_t offset, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width && offset + i < data.size(); ++i)
        value |= std::uint64_t{data[offset + i]} << (8 * i);
    return value;
}

class WideKey {
public:
    WideKey(HKEY parent, const std::wstring& path)
    {
        if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~WideKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    WideKey(const WideKey&) = delete;
    WideKey& operator=(const WideKey&) = delete;
    HKEY Handle() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::vector<RawValue> RawValues(HKEY key)
{
    std::vector<RawValue> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = std::size(name);
        DWORD size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return values;
        RawValue value{std::wstring(name, nameLength), std::vector<std::uint8_t>(size)};
        nameLength = std::size(name);
        EXPECT_EQ(RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr, value.Data.data(), &size),
                  ERROR_SUCCESS);
        values.push_back(std::move(value));
    }
}

// The UserAssist area as the wide-character calls see it, in their order.
std::vector<RawSubKey> ReadRawArea()
{
    std::vector<RawSubKey> area;
    const std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";
    const WideKey userAssist(HKEY_CURRENT_USER, path);
    for (DWORD index = 0; userAssist.Handle(); ++index) {
        wchar_t name[256];
        DWORD length = std::size(name);
        if (RegEnumKeyExW(userAssist.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        RawSubKey subKey{std::wstring(name, length), std::nullopt, {}};
        const WideKey key(userAssist.Handle(), subKey.Name);
        DWORD version = 0, type = 0, size = sizeof version;
        if (RegQueryValueExW(key.Handle(), L"Version", nullptr, &type, reinterpret_cast<BYTE*>(&version), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD)
            subKey.Version = version;
        const WideKey count(key.Handle(), L"Count");
        if (count.Handle())
            subKey.Values = RawValues(count.Handle());
        area.push_back(std::move(subKey));
    }
    return area;
}

// The name as the 8-bit calls give it: the system code page, "?" for what it lacks.
std::string Ansi(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

class Win32UserAssistExports : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(HivesDir()))
            GTEST_SKIP() << "no shared test data at " << HivesDir();
        // The tests' Wine runs pinned to a locale of this code page: its 8-bit
        // names are the ones a Western European Windows gives.
        ASSERT_EQ(GetACP(), 1252u);
    }
};

TEST_F(Win32UserAssistExports, GiveEveryValueOneEntryWithTheFieldsOfItsRawRecord)
{
    int total = 0;
    for (const UserAssistHive& hive : UserAssistHives) {
        SCOPED_TRACE(NameOf(hive));
        ScratchRegistry scratch;
        WriteRegFileToCurrentUser(ExportOf(hive));
        std::vector<TStartItem> items;
        ASSERT_NO_THROW(items = ReadHistoryEntries());
        ASSERT_EQ(static_cast<int>(items.size()), hive.Values);
        total += hive.Values;

        std::size_t next = 0;
        for (const RawSubKey& subKey : ReadRawArea()) {
            const bool current = subKey.Version == 5u;
            for (const RawValue& value : subKey.Values) {
                ASSERT_LT(next, items.size());
                const TStartItem& item = items[next++];
                SCOPED_TRACE(item.FileName);
                EXPECT_EQ(item.SubKey, Ansi(subKey.Name));
                EXPECT_EQ(item.StoredName, Ansi(value.Name));
                EXPECT_EQ(item.Layout, current ? UserAssistLayout::Current : UserAssistLayout::Classic);
                EXPECT_EQ(item.ExecCount, static_cast<std::int32_t>(LittleEndianAt(value.Data, 4, 4)));
                const bool session = value.Name == L"HRZR_PGYFRFFVBA";  // "UEME_CTLSESSION", rotated
                if (current) {
                    EXPECT_EQ(item.FocusCount, LittleEndianAt(value.Data, 8, 4));
                    EXPECT_EQ(item.FocusTime, LittleEndianAt(value.Data, 12, 4));
                    EXPECT_EQ(item.LastExecutedFileTime, session ? 0 : LittleEndianAt(value.Data, 60, 8));
                } else {
                    EXPECT_EQ(item.LastExecutedFileTime, LittleEndianAt(value.Data, 8, 8));
                }
            }
        }
        EXPECT_EQ(next, items.size());
    }
    EXPECT_EQ(total, 1193);
}

TEST_F(Win32UserAssistExports, KeepTheDataOfNamesTheCodePageCannotCarry)
{
    // Stored (rotated) names with Hebrew letters, which ROT13 leaves alone.
    const struct {
        const char* Folder;
        const char* Hive;
        const wchar_t* Subkey;
        const wchar_t* StoredName;
    } cases[] = {
        {"regipy", "NTUSER_BAGMRU.DAT.xz", L"{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}",
         L"P:\\Hfref\\gbal\\Qrfxgbc\\\u05EA\u05D5\u05DE\u05E8 - Puebzr.yax"},
        {"regipy", "NTUSER_with_winscp.DAT.xz", L"{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}",
         L"P:\\Hfref\\gbal\\Qrfxgbc\\bssyvar\\\u05D0\u05D7\u05E8\u05D9\u05D5\u05EA \u05D3\u05E7\u05E1\u05D8\u05E8"
         L"\\VE Pbzchgre vzntr\\Vafgnyyref\\SvyrPbcvrf\\Qrfxgbc\\Znyjner Gbbyf\\crfghqvb\\crfghqvb.rkr"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Hive);
        ScratchRegistry scratch;
        for (const UserAssistHive& hive : UserAssistHives)
            if (std::string(hive.Folder) == test.Folder && std::string(hive.Hive) == test.Hive)
                WriteRegFileToCurrentUser(ExportOf(hive));

        const WideKey count(HKEY_CURRENT_USER, std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                                            L"UserAssist\\") +
                                                   test.Subkey + L"\\Count");
        std::optional<RawValue> raw;
        for (RawValue& value : RawValues(count.Handle()))
            if (value.Name == test.StoredName)
                raw = std::move(value);
        ASSERT_TRUE(raw) << "the wide calls give the name with its letters";
        const std::string ansiName = Ansi(raw->Name);
        ASSERT_NE(ansiName.find("????"), std::string::npos) << ansiName;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(count.Handle(), ansiName.c_str(), nullptr, nullptr, nullptr, &size),
                  ERROR_FILE_NOT_FOUND)
            << "the 8-bit name does not lead back to the value";

        const std::vector<TStartItem> items = ReadHistoryEntries();
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](const TStartItem& item) { return item.StoredName == ansiName; });
        ASSERT_NE(found, items.end());
        EXPECT_GT(found->ExecCount, 0);
        EXPECT_EQ(found->ExecCount, static_cast<std::int32_t>(LittleEndianAt(raw->Data, 4, 4)));
        EXPECT_NE(found->LastExecutedFileTime, 0u);
        EXPECT_EQ(found->LastExecutedFileTime, LittleEndianAt(raw->Data, 60, 8));
        EXPECT_NE(found->LastExecutedText, "Unknown");
    }
}

}  // namespace
