#include "registry/Registry.h"

#include <gtest/gtest.h>

#include "registry/MemoryRegistrySource.h"

namespace {

using Access = MemoryRegistrySource::KeyAccess;
using Fault = MemoryRegistrySource::ValueFault;

class RegistryTest : public testing::Test {
protected:
    RegistryTest()
    {
        auto& key = source_.CreateKey(RegistryRoot::CurrentUser, "Software\\Vendor\\Product");
        key.SetString("Text", "hello");
        key.SetString("Expand", "%PATH%;x", RegistryType::ExpandString);
        key.SetValue("CutText", RegistryType::String, {'a', 'b', 0, 'c', 0});
        key.SetValue("Binary", RegistryType::Binary, {1, 2, 3});
        key.SetValue("Empty", RegistryType::Binary, {});
        key.SetValue("None", RegistryType::None, std::vector<std::uint8_t>(16, 7));
        key.SetValue("MultiString", 7, {'a', 0, 0});
        key.SetValue("DWord", RegistryType::DWord, {1, 0, 0, 0});
        key.SetValue("Long", RegistryType::Binary, std::vector<std::uint8_t>(17, 1));
        key.SetValue("Unreadable", RegistryType::Binary, {1}).Fault = Fault::DataReadFails;
        key.SetValue("UnreadableText", RegistryType::String, {'a', 0}).Fault = Fault::DataReadFails;
        key.SetValue("Vanished", RegistryType::Binary, {1}).Fault = Fault::Vanishes;
        key.SubKey("Beta");
        key.SubKey("alpha");
    }

    MemoryRegistrySource source_;
    ScopedRegistrySource use_{source_};
};

TEST_F(RegistryTest, OpensAbsolutePathsWithoutTheirLeadingBackslash)
{
    TRegistry registry(RegistryAccess::Read);
    EXPECT_FALSE(source_.OpenKey(RegistryRoot::CurrentUser, "\\Software", RegistryAccess::Read));
    ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\vendor\\Product"));
    EXPECT_EQ(source_.OpenCalls().back().Path, "SOFTWARE\\vendor\\Product");
    EXPECT_EQ(source_.OpenCalls().back().Access, RegistryAccess::Read);
    EXPECT_EQ(registry.ReadString("text"), "hello");
}

TEST_F(RegistryTest, OpensRelativePathsBelowTheCurrentKey)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Vendor"));
    ASSERT_TRUE(registry.OpenKey("Product"));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Vendor\\Product");
    EXPECT_FALSE(registry.OpenKey("Missing"));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Vendor\\Product") << "a failed open keeps the current key";
    ASSERT_TRUE(registry.OpenKey("\\Software"));
    EXPECT_EQ(source_.OpenHandleCount(), 1);
    registry.CloseKey();
    EXPECT_EQ(source_.OpenHandleCount(), 0);
    EXPECT_TRUE(registry.GetValueNames().empty());
}

TEST_F(RegistryTest, ListsNamesInInsertionOrderAndClosesOnDestruction)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Vendor\\Product"));
        EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"Beta", "alpha"}));
        EXPECT_EQ(registry.GetValueNames().front(), "Text");
        EXPECT_EQ(registry.GetValueNames().size(), 12u);
        EXPECT_TRUE(registry.ValueExists("BINARY"));
        EXPECT_FALSE(registry.ValueExists("Vanished"));
        EXPECT_FALSE(registry.ValueExists("Missing"));
    }
    EXPECT_EQ(source_.OpenHandleCount(), 0);
}

TEST_F(RegistryTest, HonoursTheAccessAKeyAllows)
{
    source_.CreateKey(RegistryRoot::LocalMachine, "Locked").Access = Access::None;
    source_.CreateKey(RegistryRoot::LocalMachine, "ReadOnly").Access = Access::ReadOnly;
    TRegistry registry(RegistryAccess::AllAccess);
    registry.SetRootKey(RegistryRoot::LocalMachine);
    EXPECT_FALSE(registry.OpenKey("\\Locked"));
    EXPECT_FALSE(registry.OpenKey("\\ReadOnly"));
    registry.SetAccess(RegistryAccess::Read);
    EXPECT_FALSE(registry.OpenKey("\\Locked"));
    EXPECT_TRUE(registry.OpenKey("\\ReadOnly"));
    EXPECT_THROW(registry.OpenKey("New", true), std::logic_error);

    TRegistry byDefault;  // reads only, so a key that only allows reading opens
    byDefault.SetRootKey(RegistryRoot::LocalMachine);
    EXPECT_TRUE(byDefault.OpenKey("\\ReadOnly"));
}

TEST_F(RegistryTest, ReadsStringsAndRefusesOtherTypes)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Vendor\\Product"));
    EXPECT_EQ(registry.ReadString("Text"), "hello");
    EXPECT_EQ(registry.ReadString("Expand"), "%PATH%;x");
    EXPECT_EQ(registry.ReadString("CutText"), "ab");
    EXPECT_EQ(registry.ReadString("Missing"), "");
    EXPECT_EQ(registry.ReadString("Vanished"), "");
    for (const char* name : {"Binary", "DWord", "None", "Empty"}) {
        try {
            registry.ReadString(name);
            ADD_FAILURE() << name << " was read as a string";
        } catch (const ERegistryException& error) {
            EXPECT_EQ(error.Message(), std::string("Invalid data type for '") + name + "'");
        }
    }
    try {
        registry.ReadString("UnreadableText");
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'UnreadableText'");
    }
}

TEST_F(RegistryTest, ReadsBinaryDataOfEveryTypeButTextAndNumbers)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Vendor\\Product"));
    const struct {
        const char* Name;
        std::uint32_t Size;  // returned when read
        const char* Error;   // or the message raised
    } cases[] = {
        {"Binary", 3, nullptr},
        {"None", 16, nullptr},
        {"MultiString", 3, nullptr},
        {"Empty", 0, nullptr},
        {"Vanished", 0, nullptr},
        {"Missing", 0, nullptr},
        {"Text", 0, "Invalid data type for 'Text'"},
        {"Expand", 0, "Invalid data type for 'Expand'"},
        {"DWord", 0, "Invalid data type for 'DWord'"},
        {"Long", 0, "Invalid data type for 'Long'"},
        {"Unreadable", 0, "Failed to get data for 'Unreadable'"},
    };
    for (const auto& test : cases) {
        std::uint8_t buffer[16] = {};
        try {
            EXPECT_EQ(registry.ReadBinaryData(test.Name, buffer, sizeof buffer), test.Size) << test.Name;
            EXPECT_EQ(test.Error, nullptr) << test.Name << " raised nothing";
        } catch (const ERegistryException& error) {
            EXPECT_STREQ(error.what(), test.Error ? test.Error : "(no error)");
        }
    }
    std::uint8_t buffer[3] = {};
    registry.ReadBinaryData("Binary", buffer, sizeof buffer);
    EXPECT_EQ(buffer[2], 3);
}

}  // namespace
