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
