// The history viewer inside the real main window: what the list shows after
// each way of loading it.
#include <cmath>

#include <algorithm>
#include <map>

#include "ViewerFixture.h"

namespace {

using Strings = std::vector<std::string>;

Strings Sorted(Strings names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The listed file names in sorted order, for checks that are not about order.
Strings ListedNames(const TStartMenuHistoryViewer& viewer)
{
    return Sorted(ViewerTest::Names(viewer));
}

TEST_F(ViewerTest, CreationListsEveryEntryInReadOrderWithItsTexts)
{
    AddEntry("UEME_RUNPATH:C:\\Tools\\a.exe", 7, EncodeDate(2006, 1, 31) + EncodeTime(17, 5, 9, 999));
    AddEntry("ueme_runpidl:%csidl2%\\Accessories\\Notepad.lnk", -3, EncodeDate(2006, 2, 1));
    AddEntry("UEME_CTLSESSION", 12, EncodeDate(2006, 2, 2));
    AddEntryWithoutTime("UEME_RUNCPL:desk.cpl", 1);
    const std::map<std::string, Strings> cellsByValue{
        {"UEME_RUNPATH:C:\\Tools\\a.exe", {"C:\\Tools\\a.exe", "Executable", "7", "", "", "01/31/2006 17:05:09", ""}},
        {"ueme_runpidl:%csidl2%\\Accessories\\Notepad.lnk",
         {"[Start Menu]\\Accessories\\Notepad.lnk", "Shortcut", "-3", "", "", "02/01/2006 00:00:00", ""}},
        {"UEME_CTLSESSION", {"UEME_CTLSESSION", "Session", "12", "", "", "No Data", ""}},
        {"UEME_RUNCPL:desk.cpl", {"desk.cpl", "Control Panel", "1", "", "", "Unknown", ""}},
    };

    auto& viewer = ViewerOf(*CreateMainWindow());

    // Rows come in the registry's order, numbered from 1.
    std::vector<Strings> expected;
    for (const std::string& value : EnumeratedNames()) {
        Strings row{std::to_string(expected.size() + 1)};
        const Strings& cells = cellsByValue.at(value);
        row.insert(row.end(), cells.begin(), cells.end());
        expected.push_back(row);
    }
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(Rows(viewer), expected);
    EXPECT_FALSE(Shown(*viewer.PanelReading));
    EXPECT_EQ(viewer.ComboBox1->ItemIndex(), 0);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ViewerTest, DateChoicesListEntriesStrictlyAfterTheirThreshold)
{
    const TDateTime today = Date();
    const struct {
        const char* Name;
        TDateTime When;
    } entries[] = {
        {"at-midnight", today},
        {"this-morning", today + EncodeTime(0, 0, 1, 0)},
        {"two-days-ago", today - 2 + 0.5},
        {"three-days-ago-at-midnight", today - 3},
        {"six-days-ago", today - 6 + 0.5},
        {"seven-days-ago-at-midnight", today - 7},
        {"forty-days-ago", today - 40 + 0.5},
        {"last-year", today - 400},
    };
    for (const auto& entry : entries)
        AddEntry(std::string("UEME_RUNPATH:") + entry.Name, 1, entry.When);
    AddEntryWithoutTime("UEME_RUNPATH:never", 1);
    const DateTimeParts now = DecodeDateTime(Now());

    // The month and year thresholds move with the calendar; the rest is fixed.
    auto after = [&](TDateTime threshold) {
        Strings names;
        for (const auto& entry : entries)
            if (entry.When > threshold)
                names.push_back(entry.Name);
        return Sorted(names);
    };
    auto& viewer = ViewerOf(*CreateMainWindow());
    ASSERT_EQ(Names(viewer).size(), 9u);

    ChooseDate(viewer, 1);
    EXPECT_EQ(ListedNames(viewer), Sorted({"this-morning"}));
    EXPECT_EQ(Rows(viewer)[0][0], "1");
    ChooseDate(viewer, 2);
    EXPECT_EQ(ListedNames(viewer), Sorted({"at-midnight", "this-morning", "two-days-ago"}));
    ChooseDate(viewer, 3);
    EXPECT_EQ(ListedNames(viewer),
              Sorted({"at-midnight", "this-morning", "two-days-ago", "three-days-ago-at-midnight", "six-days-ago"}));
    ChooseDate(viewer, 4);
    EXPECT_EQ(ListedNames(viewer), after(EncodeDate(now.Year, now.Month, 1)));
    ChooseDate(viewer, 5);
    EXPECT_EQ(ListedNames(viewer), after(EncodeDate(now.Year, 1, 1)));
    EXPECT_EQ(viewer.FilterDate, EncodeDate(now.Year, 1, 1));

    // Numbering restarts with every load; "all" lists the undated entry again.
    ChooseDate(viewer, 0);
    const auto rows = Rows(viewer);
    ASSERT_EQ(rows.size(), 9u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    EXPECT_EQ(viewer.FilterDate, EncodeDate(now.Year, 1, 1)) << "kept until the next date choice";
}

TEST_F(ViewerTest, ChoosingWithoutPressingShowChangesNothing)
{
    AddEntryWithoutTime("UEME_RUNPATH:old", 1);
    auto& viewer = ViewerOf(*CreateMainWindow());
    SendMessageA(viewer.ComboBox1->Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(viewer.Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zzz"));
    EXPECT_EQ(ListedNames(viewer), Sorted({"old"}));

    SendMessageA(viewer.ComboBox1->Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Press(*viewer.Button2);  // nothing selected: nothing happens
    EXPECT_EQ(ListedNames(viewer), Sorted({"old"}));
}

TEST_F(ViewerTest, TextFilterMatchesFileNamesIgnoringTheCaseOfAToZOnly)
{
    AddEntry("UEME_RUNPATH:C:\\WINDOWS\\notepad.exe", 1, Now());
    AddEntry("UEME_RUNPATH:C:\\Tools\\NotePad2.exe", 1, Now());
    AddEntry("UEME_RUNPATH:C:\\Caf\xe9\\menu.exe", 1, Now());
    AddEntry("UEME_RUNPIDL:notes", 1, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());

    FilterByText(viewer, "  notepad\t ");
    EXPECT_EQ(viewer.FilterText, "NOTEPAD");
    EXPECT_EQ(ListedNames(viewer), Sorted({"C:\\WINDOWS\\notepad.exe", "C:\\Tools\\NotePad2.exe"}));

    FilterByText(viewer, "executable");  // the kind text is not searched
    EXPECT_TRUE(Names(viewer).empty());
    FilterByText(viewer, "CAF\xc9");  // an accented capital does not match its small letter
    EXPECT_TRUE(Names(viewer).empty());
    FilterByText(viewer, "caf\xe9");
    EXPECT_EQ(ListedNames(viewer), Sorted({"C:\\Caf\xe9\\menu.exe"}));

    FilterByText(viewer, "   ");  // blank: the needle is cleared and the list stays
    EXPECT_EQ(viewer.FilterText, "");
    EXPECT_EQ(ListedNames(viewer), Sorted({"C:\\Caf\xe9\\menu.exe"}));
}

TEST_F(ViewerTest, FiltersDoNotCombineTheLastShowPressedDecides)
{
    AddEntry("UEME_RUNPATH:recent.exe", 1, Now());
    AddEntry("UEME_RUNPATH:ancient.exe", 1, EncodeDate(2001, 5, 5));
    auto& viewer = ViewerOf(*CreateMainWindow());

    ChooseDate(viewer, 1);
    FilterByText(viewer, "ancient");
    EXPECT_EQ(ListedNames(viewer), Sorted({"ancient.exe"})) << "the text load ignores the date choice";
    ChooseDate(viewer, 0);
    EXPECT_EQ(ListedNames(viewer), Sorted({"recent.exe", "ancient.exe"})) << "the date load ignores the text";
    EXPECT_EQ(viewer.Edit1->Text(), "ancient");
}

TEST_F(ViewerTest, EveryLoadReadsTheRegistryAfresh)
{
    AddEntry("UEME_RUNPATH:first.exe", 1, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());
    AddEntry("UEME_RUNPATH:second.exe", 4, Now());
    EXPECT_EQ(ListedNames(viewer), Sorted({"first.exe"}));
    Press(*viewer.Button2);
    EXPECT_EQ(ListedNames(viewer), Sorted({"first.exe", "second.exe"}));
}

TEST_F(ViewerTest, ReadErrorAtCreationLeavesAnEmptyListAndOneReport)
{
    AddEntry("UEME_RUNPATH:one.exe", 1, Now());
    AddEntry("UEME_RUNPATH:two.exe", 2, Now());
    AddEntry("UEME_RUNPATH:three.exe", 3, Now());
    WriteUserAssistValue(StartMenuSubKey, {"UEME_RUNPATH:long.exe", REG_BINARY, std::vector<std::uint8_t>(17)});

    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);

    EXPECT_EQ(reports_, (Strings{"Invalid data type for '" + Rot13("UEME_RUNPATH:long.exe") + "'"}));
    EXPECT_TRUE(IsWindow(main->Handle()));
    EXPECT_EQ(viewer.ListView1->RowCount(), 0);
    EXPECT_FALSE(Shown(*viewer.PanelReading));
}

TEST_F(ViewerTest, ReadErrorAfterAGoodLoadKeepsThePreviousRows)
{
    AddEntry("UEME_RUNPATH:one.exe", 1, Now());
    AddEntry("UEME_RUNPATH:two.exe", 2, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());
    WriteUserAssistValue(StartMenuSubKey, {"UEME_RUNPATH:word.exe", REG_DWORD, {1, 0, 0, 0}});

    ChooseDate(viewer, 1);
    FilterByText(viewer, "one");

    EXPECT_EQ(ListedNames(viewer), Sorted({"one.exe", "two.exe"}));
    EXPECT_EQ(reports_.size(), 2u);
    EXPECT_FALSE(Shown(*viewer.PanelReading));
}

TEST_F(ViewerTest, EmptyHistoryEmptiesTheListWithoutAMessage)
{
    AddEntry("UEME_RUNPATH:gone.exe", 1, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist");
    Press(*viewer.Button2);
    EXPECT_EQ(viewer.ListView1->RowCount(), 0);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ViewerTest, ProgressRunsOverTheEntriesInStepsOfAHundred)
{
    for (int i = 0; i < 250; ++i)
        AddEntry("UEME_RUNPATH:p" + std::to_string(i), i, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());
    EXPECT_EQ(viewer.ListView1->RowCount(), 250);
    EXPECT_EQ(viewer.ProgressBar1->Min(), 0);
    EXPECT_EQ(viewer.ProgressBar1->Max(), 249);
    EXPECT_EQ(viewer.ProgressBar1->Position(), 200);
}

TEST_F(ViewerTest, SingleEntryGivesAnEmptyProgressRange)
{
    AddEntry("UEME_RUNPATH:only", 1, Now());
    auto& viewer = ViewerOf(*CreateMainWindow());
    EXPECT_EQ(viewer.ProgressBar1->Max(), 0);
    EXPECT_EQ(viewer.ProgressBar1->Position(), 0);
}

}  // namespace
