// The registry helper over the real Windows registry (Wine's under test), in a
// scratch key mapped onto HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include <algorithm>

#include "ScratchRegistry.h"
#include "registry/Registry.h"
#include "registry/Win32RegistrySource.h"

namespace {

class Win32RegistryTest : public testing::Test {
protected:
    ScratchRegistry scratch_;
    Win32RegistrySource source_;
    ScopedRegistrySource use_{source_};
};

TEST_F(Win32RegistryTest, StripsTheLeadingBackslashThatRegOpenKeyExRefuses)
{
    scratch_.CreateKey(ScratchRegistry::CurrentUser, "Software\\Vendor");
    EXPECT_FALSE(source_.OpenKey(RegistryRoot::CurrentUser, "\\Software\\Vendor", RegistryAccess::Read));
    TRegistry registry(RegistryAccess::Read);
    EXPECT_TRUE(registry.OpenKey("\\Software\\Vendor"));
    EXPECT_TRUE(registry.OpenKey("\\SOFTWARE\\vendor"));
    EXPECT_FALSE(registry.OpenKey("\\Software\\Missing"));
}

TEST_F(Win32RegistryTest, ListsLongNamesWhole)
{
    const std::string longName(255, 'n');  // the longest key name
    scratch_.CreateKey(ScratchRegistry::CurrentUser, "K\\" + longName);
    scratch_.CreateKey(ScratchRegistry::CurrentUser, "K\\a");
    const std::string longValueName(2000, 'v');
    scratch_.SetValue(ScratchRegistry::CurrentUser, "K", longValueName, REG_BINARY, {1});
    scratch_.SetValue(ScratchRegistry::CurrentUser, "K", "b", REG_BINARY, {2});
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("K"));
    std::vector<std::string> keys = registry.GetKeyNames();
    std::vector<std::string> values = registry.GetValueNames();
    std::sort(keys.begin(), keys.end());
    std::sort(values.begin(), values.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"a", longName}));
    EXPECT_EQ(values, (std::vector<std::string>{"b", longValueName}));
}

TEST_F(Win32RegistryTest, ReadsStringsAndBinaryDataWithTheTypeErrors)
{
    const std::string key = "Software\\Vendor";
    scratch_.SetString(ScratchRegistry::CurrentUser, key, "", "default");
    scratch_.SetString(ScratchRegistry::CurrentUser, key, "Expand", "%TEMP%\\x", REG_EXPAND_SZ);
    scratch_.SetValue(ScratchRegistry::CurrentUser, key, "Binary", REG_BINARY, {1, 2, 3});
    scratch_.SetValue(ScratchRegistry::CurrentUser, key, "Long", REG_BINARY, std::vector<std::uint8_t>(17, 1));
    scratch_.SetValue(ScratchRegistry::CurrentUser, key, "None", REG_NONE, std::vector<std::uint8_t>(16, 9));
    scratch_.SetValue(ScratchRegistry::CurrentUser, key, "DWord", REG_DWORD, {5, 0, 0, 0});
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Vendor"));

    EXPECT_EQ(registry.ReadString(""), "default");
    EXPECT_EQ(registry.ReadString("Expand"), "%TEMP%\\x") << "read as stored, not expanded";
    EXPECT_EQ(registry.ReadString("Missing"), "");
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(registry.ReadBinaryData("Binary", buffer, sizeof buffer), 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(registry.ReadBinaryData("None", buffer, sizeof buffer), 16u);
    EXPECT_EQ(buffer[15], 9);
    EXPECT_EQ(registry.ReadBinaryData("Missing", buffer, sizeof buffer), 0u);

    const struct {
        const char* Name;
        bool AsString;
    } refused[] = {{"Binary", true},  {"DWord", true},  {"None", true}, {"", false},
                   {"Expand", false}, {"DWord", false}, {"Long", false}};
    for (const auto& test : refused) {
        try {
            if (test.AsString)
                registry.ReadString(test.Name);
            else
                registry.ReadBinaryData(test.Name, buffer, sizeof buffer);
            ADD_FAILURE() << "'" << test.Name << "' was read";
        } catch (const ERegistryException& error) {
            EXPECT_EQ(error.Message(), std::string("Invalid data type for '") + test.Name + "'");
        }
    }
}

}  // namespace
