// The hive reader on small hives built cell by cell: the list kinds, big data
// and name forms that no real hive here has on the way to UserAssist, and
// damage placed exactly, which must be told and never loop.
#include <gtest/gtest.h>

#include <numeric>

#include "SyntheticHive.h"
#include "base/LittleEndian.h"
#include "registry/HiveRegistrySource.h"

namespace {

std::vector<std::uint8_t> Filled(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
    return bytes;
}

SyntheticKey Keys(const std::string& list, std::initializer_list<const char*> names)
{
    SyntheticKey key{list, false, list, {}, {}};
    for (const char* name : names)
        key.SubKeys.push_back({name});
    return key;
}

// A hive whose root holds one key per kind of subkey list, and values of every way of keeping data.
struct SampleHive {
    SyntheticHive Cells;
    SyntheticCells Root;

    SampleHive()
    {
        SyntheticKey root{"ROOT"};
        root.SubKeys = {Keys("lf", {"a", "b"}),
                        Keys("lh", {"c"}),
                        Keys("li", {"d", "e", "f"}),
                        Keys("ri", {"g", "h", "i", "j"}),
                        {"Z\xc3\xbcrich \xe2\x9c\x93", true}};
        root.Values = {{"resident", 4, {1, 2, 3}},
                       {"empty", 3, {}},
                       {"record", 3, Filled(72)},
                       {"big", 3, Filled(40000)},
                       {"caf\xe9", 1, Filled(6)}};
        Root = Cells.AddKey(root);
    }

    std::vector<std::uint8_t> Bytes() const { return Cells.Bytes(Root.Key); }
};

// Every key's names and every value's data, as the seam gives them, depth first.
std::string Walk(HiveRegistrySource& hive, const std::string& path = "")
{
    const std::optional<RegistryKey> key = hive.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read);
    if (!key)
        return "(" + path + " missing)";
    std::string text = "[" + path + "]";
    const std::vector<std::string> values = hive.ValueNames(*key);
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        const std::optional<RegistryIndexedValue> value = hive.ReadValueAt(*key, i);
        text += " " + values[i] + "=" + (value && value->Data ? std::to_string(value->Data->size()) : "?");
    }
    for (const std::string& name : hive.SubKeyNames(*key))
        text += " " + Walk(hive, path.empty() ? name : path + "\\" + name);
    hive.CloseKey(*key);
    return text;
}

TEST(HiveReader, ReadsEveryListKindBigDataAndBothNameForms)
{
    SampleHive sample;
    HiveRegistrySource hive(sample.Bytes());
    EXPECT_EQ(Walk(hive), "[] resident=3 empty=0 record=72 big=40000 caf\xc3\xa9=6 [lf] [lf\\a] [lf\\b] [lh] [lh\\c] "
                          "[li] [li\\d] [li\\e] [li\\f] [ri] [ri\\g] [ri\\h] [ri\\i] [ri\\j] "
                          "[Z\xc3\xbcrich \xe2\x9c\x93]");
    EXPECT_TRUE(hive.Problems().empty());

    // Keys are found through every kind of list without regard to the case of a-z.
    EXPECT_TRUE(hive.OpenKey(RegistryRoot::CurrentUser, "RI\\J", RegistryAccess::Read));
    EXPECT_TRUE(hive.OpenKey(RegistryRoot::CurrentUser, "Li\\E", RegistryAccess::Read));
    const std::optional<RegistryKey> root = hive.OpenKey(RegistryRoot::CurrentUser, "", RegistryAccess::Read);
    ASSERT_TRUE(root);
    // The data as written, across the segments of big data and in the record itself.
    EXPECT_EQ(hive.ReadValueAt(*root, 3)->Data, Filled(40000));
    EXPECT_EQ(hive.ReadValueAt(*root, 0)->Data, (std::vector<std::uint8_t>{1, 2, 3}));
    std::uint8_t record[72];
    std::uint32_t size = sizeof record;
    ASSERT_TRUE(hive.ReadValue(*root, "RECORD", record, size));
    EXPECT_EQ(std::vector<std::uint8_t>(record, record + size), Filled(72));
    // Before version 1.4 there is no big data: the 40,000 bytes would have to fill one cell.
    HiveRegistrySource older(sample.Cells.Bytes(sample.Root.Key, 3));
    const std::optional<RegistryKey> olderRoot = older.OpenKey(RegistryRoot::CurrentUser, "", RegistryAccess::Read);
    EXPECT_FALSE(older.ReadValueAt(*olderRoot, 3)->Data);
}

std::span<std::uint8_t> RootSubKey(SampleHive& hive, std::size_t index)  // the root's list is an "lh"
{
    return hive.Cells.CellData(ReadLittleEndian32(hive.Cells.CellData(hive.Root.SubKeyList), 4 + 8 * index));
}

std::span<std::uint8_t> RootValue(SampleHive& hive, std::size_t index)
{
    return hive.Cells.CellData(ReadLittleEndian32(hive.Cells.CellData(hive.Root.ValueList), 4 * index));
}

TEST(HiveReader, TellsDamageWhereItIsAndNeverLoops)
{
    const struct {
        const char* Damage;
        void (*Apply)(SampleHive&);
        const char* Told;
        const char* StillRead;
    } cases[] = {
        {"an index root that lists itself",
         [](SampleHive& hive) {
             const std::uint32_t root = ReadLittleEndian32(RootSubKey(hive, 3), 28);
             WriteLittleEndian32(hive.Cells.CellData(root), 4, root);
         },
         "the cell at offset 0x", "[ri\\i] [ri\\j]"},
        {"a leaf that counts more keys than it holds",
         [](SampleHive& hive) { hive.Cells.CellData(ReadLittleEndian32(RootSubKey(hive, 0), 28))[2] = 200; },
         "names 200 cells but has room for 2", "[lf\\a] [lf\\b]"},
        {"a value list that counts more than it holds",
         [](SampleHive& hive) { hive.Cells.CellData(hive.Root.Key)[36] = 9; }, "names 9 cells but has room for 5",
         "big=40000"},
        {"data that lies past the hive bins",
         [](SampleHive& hive) { WriteLittleEndian32(RootValue(hive, 2), 8, 0x7FFFFFF0); },
         "value \"record\": its data cannot be read: the cell at offset 0x7FFFFFF0 lies outside the hive bins data",
         "record=? big=40000"},
        {"a subkey list that points to a free cell",
         [](SampleHive& hive) {
             const std::uint32_t free = hive.Cells.AddCell(std::vector<std::uint8_t>(8));
             hive.Cells.Free(free);
             WriteLittleEndian32(hive.Cells.CellData(hive.Root.Key), 28, free);
         },
         "is not allocated", "resident=3"},
        {"big data with too few segments",
         [](SampleHive& hive) { hive.Cells.CellData(ReadLittleEndian32(RootValue(hive, 3), 8))[2] = 2; },
         "has 2 segments, too few for 40000 bytes", "big=?"},
        {"a resident value of more than 4 bytes", [](SampleHive& hive) { RootValue(hive, 0)[4] = 9; },
         "keeps 9 bytes of data in a 4-byte field", "[] empty=0 record=72"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Damage);
        SampleHive sample;
        test.Apply(sample);
        HiveRegistrySource hive(sample.Bytes());
        const std::string walked = Walk(hive);
        EXPECT_NE(walked.find(test.StillRead), std::string::npos) << walked;
        std::string problems;
        for (const std::string& problem : hive.Problems())
            problems += problem + "\n";
        EXPECT_NE(problems.find(test.Told), std::string::npos) << problems;
    }
}

}  // namespace
