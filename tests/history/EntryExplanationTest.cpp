// The explaining pass over one made-up source that holds every case the rules
// tell apart, entries decoded from their stored bytes as the reader decodes them.
#include <gtest/gtest.h>

#include "base/LittleEndian.h"
#include "history/EntryExplanation.h"
#include "history/UserAssistValue.h"

namespace {

constexpr const char* Executables = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
constexpr const char* Shortcuts = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
constexpr const char* ClassicKey = "{75048700-EF1F-11D0-9888-006097DEACF9}";
constexpr std::uint64_t FirstLogon = 0x01CD13A0'00000000;

TStartItem Current(const char* subKey, const std::string& name, std::int32_t runs, std::uint32_t focus,
                   std::uint64_t time, std::uint32_t resets = 2)
{
    auto bytes = EncodeCurrentUserAssistRecord({runs, MakeFileTime(time), focus, 20'000 * focus});
    WriteLittleEndian32(bytes, 0, resets);
    return DecodeUserAssistValue(subKey, Rot13(name), bytes, UserAssistLayout::Current);
}

TEST(ExplainEntries, FindsSeededEntriesPairsAndMarkersByTheirTimesAndNames)
{
    const struct {
        TStartItem Item;
        bool Seeded;
        std::string PairedWith;
        std::string Note;
        std::optional<std::uint32_t> CounterResets;
    } cases[] = {
        // Three programs with Windows' own counts at one time, and a shortcut then.
        {Current(Executables, "Microsoft.Windows.GettingStarted", 14, 21, FirstLogon), true, "", SeededNote, 2},
        {Current(Executables, "Microsoft.Windows.MediaCenter", 4, 1, FirstLogon), true, "", SeededNote, 2},
        {Current(Executables, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\calc.exe", 5, 3, FirstLogon), true, "",
         SeededNote, 2},
        {Current(Shortcuts, "%csidl2%\\Accessories\\Paint.lnk", 5, 0, FirstLogon), true, "", SeededNote, 2},
        // At that time, but with counts of its own: a real run, and in a crowd.
        {Current(Executables, "C:\\Tools\\real.exe", 2, 9, FirstLogon), false, "", "", 2},
        // Seeded counts, but alone at its time: a real program.
        {Current(Executables, "C:\\Office\\EXCEL.EXE", 6, 5, FirstLogon + 1), false, "", "", 2},
        // Two with seeded counts and a shortcut: too few to be Windows', too many to pair.
        {Current(Executables, "C:\\a.exe", 4, 1, FirstLogon + 2), false, "", "", 2},
        {Current(Executables, "C:\\b.exe", 4, 1, FirstLogon + 2), false, "", "", 2},
        {Current(Shortcuts, "C:\\ab.lnk", 1, 0, FirstLogon + 2), false, "", "", 2},
        // A shortcut and the program it started.
        {Current(Shortcuts, "C:\\Calculator.lnk", 3, 0, FirstLogon + 3, 0), false, "[System]\\calc.exe",
         "Started [System]\\calc.exe", 0},
        {Current(Executables, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\calc.exe", 3, 7, FirstLogon + 3, 0), false,
         "C:\\Calculator.lnk", "Started by shortcut C:\\Calculator.lnk", 0},
        // A shortcut with no program at its time, and two of one subkey at one time.
        {Current(Shortcuts, "C:\\lone.lnk", 1, 0, FirstLogon + 4), false, "", "", 2},
        {Current(Executables, "C:\\c.exe", 1, 1, FirstLogon + 5), false, "", "", 2},
        {Current(Executables, "C:\\d.exe", 1, 1, FirstLogon + 5), false, "", "", 2},
        {Current(Shortcuts, "C:\\d.lnk", 1, 0, FirstLogon + 5), false, "", "", 2},
        // No time: never in a group.
        {Current(Executables, "C:\\never.exe", 4, 1, 0), false, "", "", 2},
        {Current(Shortcuts, "C:\\never.lnk", 4, 0, 0), false, "", "", 2},
        // Values that are no program; their first bytes count nothing.
        {Current(Executables, "UEME_CTLSESSION", 4, 1, FirstLogon), false, "", SessionNote, std::nullopt},
        {Current(Executables, "UEME_CTLCUACount:ctor", 0, 0, 0, 0xFFFFFFFF), false, "", MarkerNote, std::nullopt},
        {DecodeUserAssistValue(ClassicKey, Rot13("UEME_CTLCUACount:ctor"), {}, UserAssistLayout::Classic), false, "",
         MarkerNote, std::nullopt},
        {DecodeUserAssistValue(ClassicKey, Rot13("UEME_CTLSESSION"), {}, UserAssistLayout::Classic), false, "", "",
         std::nullopt},
    };
    std::vector<TStartItem> items;
    for (const auto& c : cases)
        items.push_back(c.Item);
    // The pass starts afresh: what an earlier pass found does not stay.
    items[5].SeededByWindows = true;
    items[5].Note = SeededNote;
    ExplainEntries(items);
    ASSERT_EQ(items.size(), std::size(cases));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i].FileName);
        EXPECT_EQ(items[i].SeededByWindows, cases[i].Seeded);
        EXPECT_EQ(items[i].PairedWith, cases[i].PairedWith);
        EXPECT_EQ(items[i].Note, cases[i].Note);
        EXPECT_EQ(items[i].CounterResets, cases[i].CounterResets);
    }
}

}  // namespace
