// The hive-file source over a real Windows 7 user hive, whole and with the
// damage a copy off a failing disk can bring, against what REPORT.md counts.
#include "registry/HiveRegistrySource.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestData.h"
#include "base/AsciiCase.h"
#include "history/StartMenuHistory.h"
#include "registry/Registry.h"
#include "registry/hive/LogReplay.h"

namespace {

constexpr const char* ExecutablesSubKey = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
constexpr const char* ShortcutsSubKey = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
// "Microsoft.Windows.GettingStarted", letter-rotated as stored: a name of 32
// single bytes in the executables' Count key.
constexpr std::string_view GettingStarted = "Zvpebfbsg.Jvaqbjf.TrggvatFgnegrq";

class HiveRegistrySourceTest : public testing::Test {
protected:
    void SetUp() override
    {
        hive_ = ReadFileBytes(TestDataDir() / "hives" / "plaso" / "NTUSER-WIN7.DAT");
        if (hive_.empty())
            GTEST_SKIP() << "no shared test data at " << TestDataDir();
    }

    // Where a stored name lies in the file; it must occur once.
    std::size_t NameAt(std::string_view name) const
    {
        const auto at = std::search(hive_.begin(), hive_.end(), name.begin(), name.end());
        EXPECT_NE(at, hive_.end()) << name;
        EXPECT_EQ(std::search(at + 1, hive_.end(), name.begin(), name.end()), hive_.end()) << name;
        return static_cast<std::size_t>(at - hive_.begin());
    }

    std::vector<std::uint8_t> hive_;
};

std::string CountPath(const char* subKey)
{
    return std::string(UserAssistKeyPath) + "\\" + subKey + "\\Count";
}

TEST_F(HiveRegistrySourceTest, ServesTheSeamFromTheHivesRootAsTheCurrentUser)
{
    HiveRegistrySource hive(hive_);
    EXPECT_FALSE(HiveIsDirty(hive.BaseBlock()));

    TRegistry user(RegistryAccess::Read, hive);
    // Key names match without regard to the case of a-z, as in the registry.
    ASSERT_TRUE(user.OpenKey(UpperAsciiLetters(UserAssistKeyPath)));
    EXPECT_EQ(user.GetKeyNames(), (std::vector<std::string>{ExecutablesSubKey, ShortcutsSubKey}));
    ASSERT_TRUE(user.OpenKey(std::string("\\") + UserAssistKeyPath + "\\" + ExecutablesSubKey));
    EXPECT_EQ(user.ReadDWordIfPresent("version"), 5u);

    // REPORT.md: 62 values in the executables' key, 30 in the shortcuts'; all
    // 72 bytes but one 1,612-byte session value each.
    for (const auto& [subKey, values] : {std::pair{ExecutablesSubKey, 62u}, std::pair{ShortcutsSubKey, 30u}}) {
        ASSERT_TRUE(user.OpenKey("\\" + CountPath(subKey)));
        const std::vector<std::string> names = user.GetValueNames();
        ASSERT_EQ(names.size(), values);
        for (std::uint32_t i = 0; i < names.size(); ++i) {
            const std::optional<std::vector<std::uint8_t>> data = user.ReadBinaryDataAt(i, names[i], 1612);
            ASSERT_TRUE(data) << names[i];
            EXPECT_EQ(data->size(), names[i] == "HRZR_PGYFRFFVBA" ? 1612u : 72u) << names[i];
        }
    }

    // Nothing but the current user, nothing to write, nothing made up.
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::LocalMachine, "Software", RegistryAccess::Read));
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::CurrentUser, "Software", RegistryAccess::AllAccess));
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::CurrentUser, "Software\\NoSuchKey", RegistryAccess::Read));
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::CurrentUser, "\\Software", RegistryAccess::Read));
    EXPECT_TRUE(hive.Problems().empty());
}

TEST_F(HiveRegistrySourceTest, MountsAPartialHiveBelowTheCurrentUser)
{
    HiveRegistrySource hive(hive_);
    hive.MountAt("Software\\Microsoft");
    const std::optional<RegistryKey> key =
        hive.OpenKey(RegistryRoot::CurrentUser, "software\\microsoft\\Software\\Microsoft", RegistryAccess::Read);
    ASSERT_TRUE(key);
    hive.CloseKey(*key);
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::CurrentUser, "Software", RegistryAccess::Read));
    EXPECT_FALSE(hive.OpenKey(RegistryRoot::CurrentUser, "Software\\Microsoftly", RegistryAccess::Read));
}

TEST_F(HiveRegistrySourceTest, ReadsSingleByteNamesAsLatin1)
{
    // Windows-1252 would make 0x80 a euro sign; the hive's single bytes are
    // Latin-1, so 0x80 to 0x9F stay the control characters U+0080 to U+009F.
    const std::size_t at = NameAt(GettingStarted);
    std::string expected;
    for (std::size_t i = 0; i < GettingStarted.size(); ++i) {
        hive_[at + i] = static_cast<std::uint8_t>(0x80 + i);
        expected += "\xc2";
        expected += static_cast<char>(0x80 + i);
    }
    HiveRegistrySource hive(hive_);
    TRegistry user(RegistryAccess::Read, hive);
    ASSERT_TRUE(user.OpenKey(CountPath(ExecutablesSubKey)));
    const std::vector<std::string> names = user.GetValueNames();
    const auto found = std::find(names.begin(), names.end(), expected);
    ASSERT_NE(found, names.end());
    const auto data = user.ReadBinaryDataAt(static_cast<std::uint32_t>(found - names.begin()), expected, 72);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size(), 72u);
}

TEST_F(HiveRegistrySourceTest, RefusesWhatIsNoHiveAndTellsTheDamageItMeets)
{
    std::vector<std::uint8_t> text = {'W', 'i', 'n', 'd', 'o', 'w', 's'};
    EXPECT_THROW(HiveRegistrySource{text}, ENotAHive);
    EXPECT_THROW(HiveRegistrySource{{}}, ENotAHive);
    std::vector<std::uint8_t> log = hive_;
    log[0x1C] = 6;  // the base block of a transaction log
    EXPECT_THROW(HiveRegistrySource{log}, ENotAHive);
    EXPECT_THROW(HiveRegistrySource(std::vector<std::uint8_t>(hive_.begin(), hive_.begin() + 4000)), EHiveDamaged);
    // Cut inside its hive bins: what lies before the cut can still be read.
    const HiveRegistrySource cut(std::vector<std::uint8_t>(hive_.begin(), hive_.begin() + 5000));
    ASSERT_FALSE(cut.Problems().empty());
    EXPECT_EQ(cut.Problems().front(), "the file ends at byte 5000, before the end of its last hive bin at 1064960");

    // A value cell whose data offset points past the file: the value is
    // listed, its data read fails, and the reader says so at that value.
    std::vector<std::uint8_t> damaged = hive_;
    const std::size_t dataOffset = NameAt(GettingStarted) - 12;
    for (std::size_t i = 0; i < 4; ++i)
        damaged[dataOffset + i] = 0x7F;
    HiveRegistrySource hive(damaged);
    const ScopedRegistrySource use(hive);
    TStartHistory history;
    try {
        history.ReadHistory();
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "Failed to get data for '" + std::string(GettingStarted) + "'");
    }
    const std::vector<std::string> problems = hive.Problems();
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.front().find(GettingStarted), std::string::npos) << problems.front();
}

}  // namespace
