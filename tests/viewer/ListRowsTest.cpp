// The viewer's list rows without a window: the orders a header click gives
// and the texts that go to the clipboard and into a saved file.
#include <gtest/gtest.h>

#include <cctype>
#include <tuple>

#include "viewer/ListSort.h"
#include "viewer/ListText.h"

namespace {

// Stands in for the user's locale: letters compare without their case.
int CompareIgnoringCase(std::string_view a, std::string_view b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int difference =
            std::tolower(static_cast<unsigned char>(a[i])) - std::tolower(static_cast<unsigned char>(b[i]));
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// In read order. Rows 1 and 5 ran at the same time; the session row holds
// the newest value and the undated row none, yet both show no time.
const std::vector<TListedRow> kRows = {
    {1, "beta", "Shortcut", 12, "03/01/2006 10:00:00", EncodeDate(2006, 3, 1) + EncodeTime(10, 0, 0, 0)},
    {2, "Alpha", "Session", -1, "No Data", EncodeDate(2007, 1, 1)},
    {3, "alpha", "Shortcut", 12, "Unknown", 0},
    {4, "Gamma", "Executable", 3, "11/30/2005 08:00:00", EncodeDate(2005, 11, 30) + EncodeTime(8, 0, 0, 0)},
    {5, "delta", "Executable", 3, "03/01/2006 10:00:00", EncodeDate(2006, 3, 1) + EncodeTime(10, 0, 0, 0)},
};

std::vector<int> NumbersInOrder(TSortOrder order)
{
    std::vector<int> numbers;
    for (const std::size_t place : SortedRowOrder(kRows, order, CompareIgnoringCase))
        numbers.push_back(kRows[place].Number);
    return numbers;
}

TEST(SortedRowOrder, EachColumnBothWaysWithTiesInReadOrder)
{
    const struct {
        TListColumn Column;
        std::vector<int> Ascending, Descending;
    } cases[] = {
        {lcCount, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}},        {lcFileName, {2, 3, 1, 5, 4}, {4, 5, 1, 2, 3}},
        {lcType, {4, 5, 2, 1, 3}, {1, 3, 2, 4, 5}},         {lcExecCount, {2, 4, 5, 1, 3}, {1, 3, 4, 5, 2}},
        {lcLastExecuted, {2, 3, 4, 1, 5}, {1, 5, 4, 2, 3}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(NumbersInOrder({test.Column, false}), test.Ascending) << ListColumnTitles[test.Column];
        EXPECT_EQ(NumbersInOrder({test.Column, true}), test.Descending) << ListColumnTitles[test.Column];
    }
}

TEST(ListedRowFromCells, GivesBackTheRowItsCellsShow)
{
    for (const TListedRow& row : kRows) {
        const TListedRow back = ListedRowFromCells(ListedRowCells(row), row.LastExecuted);
        EXPECT_EQ(std::tie(back.Number, back.FileName, back.TypeText, back.ExecCount, back.LastExecutedText),
                  std::tie(row.Number, row.FileName, row.TypeText, row.ExecCount, row.LastExecutedText));
        EXPECT_EQ(back.LastExecuted, row.LastExecuted);
    }
}

TStartItem CurrentLayoutItem(const char* subKey, std::uint32_t focusCount, std::uint32_t focusTime, const char* note)
{
    TStartItem item;
    item.FileName = "x";
    item.SubKey = subKey;
    item.Layout = UserAssistLayout::Current;
    item.FocusCount = focusCount;
    item.FocusTime = focusTime;
    item.Note = note;
    return item;
}

// What the three new cells show for each kind of record, and what comes back
// from the texts when the list is read for a sort, a copy or a file.
TEST(ListedRowCells, FocusCellsShowOnlyWhereTheRecordHoldsAFocusAndComeBackToTheSecond)
{
    TStartItem classic;
    classic.FocusCount = 9;  // never shown: a 16-byte record has no focus fields
    classic.Note = "Marker, not a program";
    const struct {
        const char* What;
        TStartItem Item;
        std::string FocusCount, FocusTime, Note;
        std::optional<std::uint32_t> FocusTimeBack;
    } cases[] = {
        {"classic", classic, "", "", "Marker, not a program", std::nullopt},
        {"executable", CurrentLayoutItem("{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}", 17, 3723999, ""), "17", "1:02:03",
         "", 3723000},
        {"under a second", CurrentLayoutItem("{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}", 0, 999, ""), "0", "0:00:00", "",
         0},
        {"more than a day",
         CurrentLayoutItem("{0D6D4F41-2994-4BA0-8FEF-620E43CD2812}", 4, 90061000, "Totals of this key"), "4",
         "25:01:01", "Totals of this key", 90061000},
        {"shortcut, GUID in lower case",
         CurrentLayoutItem("{f4e57c4b-2036-45f0-a9ab-443bcfe33d9f}", 3, 3, "Started [System]\calc.exe"), "", "",
         "Started [System]\calc.exe", std::nullopt},
    };
    for (const auto& test : cases) {
        const TListedCells cells = ListedRowCells(ListedRowOf(1, test.Item));
        EXPECT_EQ(std::tie(cells[lcFocusCount], cells[lcFocusTime], cells[lcNote]),
                  std::tie(test.FocusCount, test.FocusTime, test.Note))
            << test.What;
        const TListedRow back = ListedRowFromCells(cells, 0);
        EXPECT_EQ(back.FocusTime, test.FocusTimeBack) << test.What;
        EXPECT_EQ(back.FocusCount.has_value(), !test.FocusCount.empty()) << test.What;
        EXPECT_EQ(back.Note, test.Note) << test.What;
    }
}

TEST(SortedRowOrder, FocusColumnsSortByValueWithEmptyCellsFirstAndNotesAsText)
{
    // "10:00:00" sorts after "9:00:00" by value, not as text; "200" after "30".
    std::vector<TListedRow> rows(5);
    const struct {
        std::optional<std::uint32_t> FocusCount, FocusTime;
        const char* Note;
    } cells[] = {
        {200, 36000000, "Started by shortcut b.lnk"},
        {std::nullopt, std::nullopt, ""},
        {30, 32400000, "Set by Windows at first logon, not a real run"},
        {30, 32400999, ""},
        {std::nullopt, std::nullopt, "Marker, not a program"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Number = static_cast<int>(i + 1);
        rows[i].FocusCount = cells[i].FocusCount;
        rows[i].FocusTime = cells[i].FocusTime;
        rows[i].Note = cells[i].Note;
    }
    const auto numbers = [&](TSortOrder order) {
        std::vector<int> listed;
        for (const std::size_t place : SortedRowOrder(rows, order, CompareIgnoringCase))
            listed.push_back(rows[place].Number);
        return listed;
    };
    EXPECT_EQ(numbers({lcFocusCount, false}), (std::vector<int>{2, 5, 3, 4, 1}));
    EXPECT_EQ(numbers({lcFocusCount, true}), (std::vector<int>{1, 3, 4, 2, 5}));
    EXPECT_EQ(numbers({lcFocusTime, false}), (std::vector<int>{2, 5, 3, 4, 1}));
    EXPECT_EQ(numbers({lcFocusTime, true}), (std::vector<int>{1, 4, 3, 2, 5}));
    EXPECT_EQ(numbers({lcNote, false}), (std::vector<int>{2, 4, 5, 3, 1}));
}

TEST(NextSortOrder, ASecondClickOnTheSameColumnTurnsTheOrderRound)
{
    const struct {
        std::optional<TSortOrder> Current;
        TListColumn Clicked;
        TSortOrder Next;
    } cases[] = {
        {std::nullopt, lcType, {lcType, false}},
        {TSortOrder{lcType, false}, lcType, {lcType, true}},
        {TSortOrder{lcType, true}, lcType, {lcType, false}},
        {TSortOrder{lcType, false}, lcCount, {lcCount, false}},
        {TSortOrder{lcType, true}, lcExecCount, {lcExecCount, false}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(NextSortOrder(test.Current, test.Clicked), test.Next) << ListColumnTitles[test.Clicked];
}

TEST(ListText, TitlesThenTheGivenRowsAsTabbedLinesOrCsv)
{
    const std::vector<TListedRow> rows = {
        {1, "C:\\say \"hi\", world.exe", "Executable", 7, "01/31/2006 17:05:09", 0},
        {2, "caf\xe9.lnk", "Shortcut", -3, "Unknown", 0},
    };
    EXPECT_EQ(TabSeparatedText({rows[1], rows[0]}),
              "Count\tFile Name\tType\tExec Count\tFocus Count\tFocus Time\tLast Executed\tNote\r\n"
              "2\tcaf\xe9.lnk\tShortcut\t-3\t\t\tUnknown\t\r\n"
              "1\tC:\\say \"hi\", world.exe\tExecutable\t7\t\t\t01/31/2006 17:05:09\t\r\n");
    EXPECT_EQ(CsvText({rows[1], rows[0]}),
              "Count,File Name,Type,Exec Count,Focus Count,Focus Time,Last Executed,Note\r\n"
              "2,caf\xe9.lnk,Shortcut,-3,,,Unknown,\r\n"
              "1,\"C:\\say \"\"hi\"\", world.exe\",Executable,7,,,01/31/2006 17:05:09,\r\n");
    EXPECT_EQ(TabSeparatedText({}),
              "Count\tFile Name\tType\tExec Count\tFocus Count\tFocus Time\tLast Executed\tNote\r\n");
}

}  // namespace
