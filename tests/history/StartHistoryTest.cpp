#include "history/StartMenuHistory.h"

#include <gtest/gtest.h>

#include "HistoryEntries.h"
#include "UserAssistArea.h"
#include "registry/MemoryRegistrySource.h"
#include "registry/Registry.h"

namespace {

using Fault = MemoryRegistrySource::ValueFault;

class StartHistoryTest : public testing::Test {
protected:
    MemoryRegistrySource::Key& CountKey(const std::string& subKey)
    {
        return registry_.CreateKey(RegistryRoot::CurrentUser,
                                   std::string(UserAssistKeyPath) + "\\" + subKey + "\\Count");
    }
    // Adds a value under its stored (rotated) name.
    MemoryRegistrySource::Value& Add(const std::string& subKey, const std::string& decodedName, std::uint32_t type,
                                     std::vector<std::uint8_t> data)
    {
        return CountKey(subKey).SetValue(Rot13(decodedName), type, std::move(data));
    }
    void AddRecord(const std::string& subKey, const std::string& decodedName, std::int32_t count,
                   std::uint64_t ticks = 0x01c626c2c6a1a990)
    {
        const UserAssistFixtureValue value = MakeUserAssistValue(decodedName, count, MakeFileTime(ticks));
        Add(subKey, decodedName, value.Type, value.Data);
    }
    std::vector<TStartItem> Items() { return EntriesOf(history_); }
    // Runs ReadHistory expecting ERegistryException; returns its message.
    std::string ReadHistoryError() { return ::ReadHistoryError(history_); }

    MemoryRegistrySource registry_;
    ScopedRegistrySource use_{registry_};
    TStartHistory history_;
};

TEST_F(StartHistoryTest, ReadsNothingWithoutTheUserAssistKey)
{
    history_.ReadHistory();
    EXPECT_EQ(history_.Count(), 0);
    registry_.CreateKey(RegistryRoot::CurrentUser, UserAssistKeyPath).Access = MemoryRegistrySource::KeyAccess::None;
    AddRecord("A", "UEME_RUNPATH:C:\\a.exe", 1);
    history_.ReadHistory();
    EXPECT_EQ(history_.Count(), 0);
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(StartHistoryTest, ReadsEveryCountKeyInOrderWithReadOnlyAccess)
{
    registry_.CreateKey(RegistryRoot::CurrentUser, std::string(UserAssistKeyPath) + "\\NoCount\\Other");
    AddRecord("First", "UEME_RUNPATH:C:\\a.exe", 3);
    AddRecord("First", "ueme_runpath:C:\\b.exe", 4);
    AddRecord("Locked", "UEME_RUNPATH:C:\\hidden.exe", 5);
    CountKey("Locked").Access = MemoryRegistrySource::KeyAccess::None;
    AddRecord("Second", "UEME_RUNPATH:C:\\a.exe", 6);  // the same object again: its own entry
    history_.ReadHistory();

    const std::vector<TStartItem> items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].FileName, "C:\\a.exe");
    EXPECT_EQ(items[1].FileName, "C:\\b.exe");
    EXPECT_EQ(items[1].ItemType, sitExecutable);
    EXPECT_EQ(items[2].ExecCount, 6);
    for (const MemoryRegistrySource::OpenCall& open : registry_.OpenCalls())
        EXPECT_EQ(open.Access, RegistryAccess::Read) << open.Path;
    EXPECT_EQ(registry_.OpenCalls().back().Path, std::string(UserAssistKeyPath) + "\\Second\\Count");
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(StartHistoryTest, FillsAllFiveFieldsOfAnEntry)
{
    AddRecord("A", "UEME_RUNPIDL:%csidl2%\\x.lnk", -3, 0x01c626c2c6a1a990);
    AddRecord("A", "UEME_CTLSESSION", 12);
    AddRecord("A", "UEME_RUNCPL:desk.cpl", 9, 0);
    history_.ReadHistory();
    const std::vector<TStartItem> items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].FileName, "[Start Menu]\\x.lnk");
    EXPECT_EQ(items[0].ItemType, sitShortcut);
    EXPECT_EQ(items[0].ExecCount, -3);
    EXPECT_EQ(items[0].LastExecutedText, FormatDateTime("mm/dd/yyyy hh:nn:ss", items[0].LastExecuted));
    EXPECT_DOUBLE_EQ(items[0].LastExecuted, FileTimeToDateTime(MakeFileTime(0x01c626c2c6a1a990)));
    EXPECT_EQ(items[1].FileName, "UEME_CTLSESSION");
    EXPECT_EQ(items[1].ItemType, sitSession);
    EXPECT_EQ(items[1].LastExecutedText, "No Data");
    EXPECT_DOUBLE_EQ(items[1].LastExecuted, items[0].LastExecuted) << "still set from the stored time";
    EXPECT_EQ(items[2].LastExecutedText, "Unknown");
    EXPECT_DOUBLE_EQ(items[2].LastExecuted, -109205.0);
}

TEST_F(StartHistoryTest, ShortAndVanishedValuesDoNotInheritThePreviousRecord)
{
    AddRecord("A", "UEME_RUNPATH:C:\\full.exe", 99, 0x01c626c2c6a1a990);
    Add("A", "UEME_RUNPATH:C:\\short.exe", RegistryType::Binary, {1, 2, 3, 4, 5, 0, 0, 0});
    AddRecord("A", "UEME_RUNPATH:C:\\full2.exe", 98, 0x01c626c2c6a1a990);
    Add("A", "UEME_RUNPATH:C:\\gone.exe", RegistryType::Binary, {}).Fault = Fault::Vanishes;
    Add("A", "UEME_RUNPATH:C:\\empty.exe", RegistryType::None, {});
    Add("A", "UEME_RUNPATH:C:\\none16.exe", RegistryType::None,
        {0, 0, 0, 0, 8, 0, 0, 0, 0x90, 0xa9, 0xa1, 0xc6, 0xc2, 0x26, 0xc6, 0x01});
    history_.ReadHistory();
    const std::vector<TStartItem> items = Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1].ExecCount, 5);
    EXPECT_EQ(items[1].LastExecutedText, "Unknown");
    for (const std::size_t i : {3u, 4u}) {
        EXPECT_EQ(items[i].ExecCount, 0) << items[i].FileName;
        EXPECT_EQ(items[i].LastExecutedText, "Unknown") << items[i].FileName;
        EXPECT_DOUBLE_EQ(items[i].LastExecuted, -109205.0) << items[i].FileName;
    }
    EXPECT_EQ(items[5].ExecCount, 8) << "a 16-byte REG_NONE value reads like a binary one";
    EXPECT_DOUBLE_EQ(items[5].LastExecuted, items[0].LastExecuted);
}

struct UnreadableValue {
    const char* Name;
    std::uint32_t Type;
    std::size_t Size;
    Fault ValueFault;
    const char* Message;
};

void PrintTo(const UnreadableValue& value, std::ostream* out)
{
    *out << value.Name;
}

class StartHistoryErrorTest : public StartHistoryTest, public testing::WithParamInterface<UnreadableValue> {};

TEST_P(StartHistoryErrorTest, StopsAtTheValueKeepingTheEntriesBeforeAndClosingEveryKey)
{
    const UnreadableValue& bad = GetParam();
    for (const char* name : {"UEME_RUNPATH:C:\\1.exe", "UEME_RUNPATH:C:\\2.exe", "UEME_RUNPATH:C:\\3.exe"})
        AddRecord("A", name, 1);
    const std::string badName = "UEME_RUNPATH:C:\\bad.exe";
    Add("A", badName, bad.Type, std::vector<std::uint8_t>(bad.Size, 1)).Fault = bad.ValueFault;
    AddRecord("A", "UEME_RUNPATH:C:\\after.exe", 1);
    AddRecord("B", "UEME_RUNPATH:C:\\next key.exe", 1);

    std::string expected = bad.Message;
    expected.replace(expected.find("%s"), 2, Rot13(badName));
    EXPECT_EQ(ReadHistoryError(), expected);
    EXPECT_EQ(history_.Count(), 3);
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartHistoryErrorTest,
    testing::Values(
        UnreadableValue{"Binary17Bytes", RegistryType::Binary, 17, Fault::None, "Invalid data type for '%s'"},
        UnreadableValue{"DWord", RegistryType::DWord, 4, Fault::None, "Invalid data type for '%s'"},
        UnreadableValue{"String", RegistryType::String, 2, Fault::None, "Invalid data type for '%s'"},
        UnreadableValue{"ExpandString", RegistryType::ExpandString, 2, Fault::None, "Invalid data type for '%s'"},
        UnreadableValue{"DataReadFails", RegistryType::Binary, 16, Fault::DataReadFails,
                        "Failed to get data for '%s'"}),
    [](const testing::TestParamInfo<UnreadableValue>& info) { return std::string(info.param.Name); });

TEST_F(StartHistoryTest, ReadsAfreshEachTimeAndHandsOutCopies)
{
    AddRecord("A", "UEME_RUNPATH:C:\\a.exe", 1);
    AddRecord("A", "UEME_RUNPATH:C:\\b.exe", 2);
    history_.ReadHistory();
    history_.ReadHistory();
    EXPECT_EQ(history_.Count(), 2);

    TStartItem item{"old", 5, sitHotKey, "old text", 1.0};
    history_.GetItem(1, item);
    EXPECT_EQ(item.FileName, "C:\\b.exe");
    EXPECT_EQ(item.ItemType, sitExecutable);
    history_.Clear();
    EXPECT_EQ(history_.Count(), 0);
    EXPECT_EQ(item.FileName, "C:\\b.exe") << "the copy outlives the entry";
}

TEST_F(StartHistoryTest, RefusesIndexesOutOfBounds)
{
    AddRecord("A", "UEME_RUNPATH:C:\\a.exe", 1);
    history_.ReadHistory();
    TStartItem item;
    for (const int index : {-1, 1, 2147483647}) {
        try {
            history_.GetItem(index, item);
            ADD_FAILURE() << index;
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

}  // namespace
