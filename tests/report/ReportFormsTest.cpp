// The report's three forms and its time texts, on rows whose expected texts
// were written out by hand.
#include <gtest/gtest.h>

#include "report/ReportRow.h"
#include "report/ReportWriter.h"

namespace {

std::vector<ReportRow> SampleRows()
{
    ReportRow current;
    current.Source = "C:\\a \"b\".reg";
    current.SubKey = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
    current.Layout = 72;
    current.StoredName = "P:\\k,y \"d\"\\\xc3\xa9.rkr";
    current.FileName = "C:\\x,l \"q\"\\\xc3\xa9.exe";
    current.Kind = "Executable";
    current.RunCount = 21;
    current.FocusCount = 180;
    current.FocusTimeMs = 6'666'055;
    current.LastRun = "2015-02-17T22:25:26.710Z";
    current.PairedWith = "C:\\n.lnk";
    current.CounterResets = 3;
    current.Note = "Started by shortcut C:\\n.lnk";
    ReportRow classic;
    classic.SubKey = "{75048700-EF1F-11D0-9888-006097DEACF9}";
    classic.StoredName = "HRZR_PGYFRFFVBA";
    classic.FileName = "UEME_CTLSESSION";
    classic.Kind = "Session";
    classic.RunCount = -1;
    classic.SeededByWindows = true;  // no such classic row, but every form must carry the flag
    return {current, classic};
}

std::string Written(ReportFormat format, bool severalSources, const std::vector<std::vector<ReportRow>>& sources)
{
    StringOutput out;
    const auto writer = MakeReportWriter(format, out, severalSources);
    for (const auto& rows : sources)
        writer->Write("source.reg", rows);
    writer->Finish();
    return out.Text;
}

TEST(ReportForms, WriteTheSameRowsAsTableCsvAndJson)
{
    const std::vector<ReportRow> rows = SampleRows();
    EXPECT_EQ(Written(ReportFormat::Table, false, {rows}),
              "Kind        Runs  Focus   Focus time  Last run (UTC)           File name         Note\n"
              "----------  ----  -----  -----------  -----------------------  ----------------  "
              "----------------------------\n"
              "Executable    21    180  1:51:06.055  2015-02-17 22:25:26.710  C:\\x,l \"q\"\\\xc3\xa9.exe  "
              "Started by shortcut C:\\n.lnk\n"
              "Session       -1      -            -  -                        UEME_CTLSESSION\n");
    EXPECT_EQ(Written(ReportFormat::Csv, false, {rows}),
              "source,subkey,layout,stored_name,file_name,kind,run_count,focus_count,focus_time_ms,last_run,"
              "seeded_by_windows,paired_with,counter_resets,note,user\r\n"
              "\"C:\\a \"\"b\"\".reg\",{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA},72,\"P:\\k,y \"\"d\"\"\\\xc3\xa9.rkr\","
              "\"C:\\x,l \"\"q\"\"\\\xc3\xa9.exe\",Executable,21,180,6666055,2015-02-17T22:25:26.710Z,"
              "false,C:\\n.lnk,3,Started by shortcut C:\\n.lnk,\r\n"
              ",{75048700-EF1F-11D0-9888-006097DEACF9},16,HRZR_PGYFRFFVBA,UEME_CTLSESSION,Session,-1,,,,true,,,,\r\n");
    EXPECT_EQ(Written(ReportFormat::Json, false, {rows}),
              "[\n"
              "  {\"source\": \"C:\\\\a \\\"b\\\".reg\", \"subkey\": \"{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\", "
              "\"layout\": 72, \"stored_name\": \"P:\\\\k,y \\\"d\\\"\\\\\xc3\xa9.rkr\", "
              "\"file_name\": \"C:\\\\x,l \\\"q\\\"\\\\\xc3\xa9.exe\", \"kind\": \"Executable\", \"run_count\": 21, "
              "\"focus_count\": 180, \"focus_time_ms\": 6666055, \"last_run\": \"2015-02-17T22:25:26.710Z\", "
              "\"seeded_by_windows\": false, \"paired_with\": \"C:\\\\n.lnk\", \"counter_resets\": 3, "
              "\"note\": \"Started by shortcut C:\\\\n.lnk\", \"user\": null},\n"
              "  {\"source\": null, \"subkey\": \"{75048700-EF1F-11D0-9888-006097DEACF9}\", \"layout\": 16, "
              "\"stored_name\": \"HRZR_PGYFRFFVBA\", \"file_name\": \"UEME_CTLSESSION\", \"kind\": \"Session\", "
              "\"run_count\": -1, \"focus_count\": null, \"focus_time_ms\": null, \"last_run\": null, "
              "\"seeded_by_windows\": true, \"paired_with\": null, \"counter_resets\": null, \"note\": null, "
              "\"user\": null}\n"
              "]\n");
}

TEST(ReportForms, KeepEveryFormWholeWhateverTheSourcesGave)
{
    // Nothing at all is still a table head, a CSV header and an empty array;
    // rows of later sources continue the same array.
    EXPECT_EQ(Written(ReportFormat::Json, false, {}), "[]\n");
    const ReportRow row = SampleRows()[1];
    EXPECT_EQ(Written(ReportFormat::Json, true, {{}, {row}, {}, {row}}),
              Written(ReportFormat::Json, false, {{row, row}}));
    EXPECT_EQ(Written(ReportFormat::Csv, true, {{}, {}}),
              "source,subkey,layout,stored_name,file_name,kind,run_count,focus_count,focus_time_ms,last_run,"
              "seeded_by_windows,paired_with,counter_resets,note,user\r\n");
    EXPECT_EQ(Written(ReportFormat::Table, true, {{}, {}}),
              "source.reg:\nKind  Runs  Focus  Focus time  Last run (UTC)  File name  Note\n"
              "----  ----  -----  ----------  --------------  ---------  ----\n"
              "\nsource.reg:\nKind  Runs  Focus  Focus time  Last run (UTC)  File name  Note\n"
              "----  ----  -----  ----------  --------------  ---------  ----\n");
    // Whose hive a row came from leads the table when a row of the source says so.
    ReportRow joes = row;
    joes.User = "joe";
    EXPECT_EQ(Written(ReportFormat::Table, false, {{joes, row}}),
              "User  Kind     Runs  Focus  Focus time  Last run (UTC)  File name        Note\n"
              "----  -------  ----  -----  ----------  --------------  ---------------  ----\n"
              "joe   Session    -1      -           -  -               UEME_CTLSESSION\n"
              "-     Session    -1      -           -  -               UEME_CTLSESSION\n");
    // Control characters in a name stay JSON, and a table row stays one line
    // that steers no terminal.
    ReportRow odd = row;
    odd.FileName = std::string("a\x01\tb\n\x1b[2J\x7f", 10);
    EXPECT_NE(Written(ReportFormat::Json, false, {{odd}}).find("\"file_name\": \"a\\u0001\\tb\\n\\u001b[2J\x7f\""),
              std::string::npos);
    EXPECT_NE(Written(ReportFormat::Table, false, {{odd}}).find("  a??b??[2J?\n"), std::string::npos);
}

TEST(ReportForms, TimelinesKeepDatedRowsInTheOrderOfTimeOnOneLineEach)
{
    ReportRow later;
    later.SubKey = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
    later.StoredName = "o";
    later.FileName = "C:\\a|b\r\n.exe";
    later.Kind = "Executable";
    later.RunCount = 1;
    later.LastRun = "2015-02-17T22:25:26.710Z";
    later.LastRunFileTime = 0x01D04B00A1022560;
    later.User = "jo|e";
    later.Note = "Started by shortcut C:\\x.lnk";
    ReportRow earlier = later;  // one second before: first, whatever its names
    earlier.StoredName = "z";
    earlier.FileName = "C:\\b.exe";
    earlier.RunCount = 14;
    earlier.LastRun = "2015-02-17T22:25:25.710Z";
    earlier.LastRunFileTime -= 10'000'000;
    earlier.User.reset();
    earlier.Note.reset();
    ReportRow sameTimeOtherName = later;  // ties go by user, subkey, then stored name
    sameTimeOtherName.StoredName = "a";
    sameTimeOtherName.FileName = "C:\\c.exe";
    sameTimeOtherName.Note.reset();
    ReportRow before1970 = earlier;
    before1970.LastRun = "1601-01-01T00:00:00.001Z";
    before1970.LastRunFileTime = 10'000;
    ReportRow noTime = earlier;
    noTime.LastRun.reset();
    noTime.LastRunFileTime = 0;
    const std::vector<ReportRow> rows = {later, noTime, sameTimeOtherName, before1970, earlier};

    StringOutput out;
    const auto writer = MakeReportWriter(ReportFormat::Tln, out, false);
    writer->Write("source.reg", rows);
    writer->Finish();
    EXPECT_EQ(out.Text, "1424211925|REG|||UserAssist - C:\\b.exe (14)\n"
                        "1424211926|REG||jo_e|UserAssist - C:\\c.exe (1)\n"
                        "1424211926|REG||jo_e|UserAssist - C:\\a_b__.exe (1) - Started by shortcut C:\\x.lnk\n");
    EXPECT_EQ(writer->RowsLeftOut(), 2u);
    EXPECT_EQ(Written(ReportFormat::Bodyfile, false, {rows}),
              "0|UserAssist (-): C:\\b.exe [Executable, 14 runs]|0|0|0|0|0|0|1424211925|0|0\n"
              "0|UserAssist (jo_e): C:\\c.exe [Executable, 1 run]|0|0|0|0|0|0|1424211926|0|0\n"
              "0|UserAssist (jo_e): C:\\a_b__.exe [Executable, 1 run] - Started by shortcut C:\\x.lnk"
              "|0|0|0|0|0|0|1424211926|0|0\n");
    const std::string events = Written(ReportFormat::Timesketch, false, {{earlier}});
    EXPECT_TRUE(events.ends_with("\"user\": null, \"message\": \"UserAssist: C:\\\\b.exe, 14 runs\", "
                                 "\"datetime\": \"2015-02-17T22:25:25.710Z\", \"timestamp_desc\": \"Last run\"}\n"))
        << events;
    // JSON Lines: every row, as it is, the array's objects a line each.
    std::string array = Written(ReportFormat::Json, false, {{later, noTime}});
    const std::size_t comma = array.find("},\n  {");
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(Written(ReportFormat::JsonLines, true, {{later}, {}, {noTime}}),
              array.substr(4, comma - 3) + "\n" + array.substr(comma + 5, array.size() - comma - 8) + "\n");
}

TEST(ReportRowTimes, CutToTheMillisecondInUtcAndLeaveNoTimeEmpty)
{
    const struct {
        std::uint64_t FileTime;
        std::optional<std::string> Text;
    } times[] = {
        // notatin/win7_ntuser.dat's Notepad++ record (FORMAT.md).
        {0x01D04B00A1022560, "2015-02-17T22:25:26.710Z"},
        {0x01D04B00A1022560 + 9'999, "2015-02-17T22:25:26.710Z"},  // 0.9999 ms more is not rounded up
        {0, std::nullopt},
        {1, "1601-01-01T00:00:00.000Z"},
        {0x8000000000000000, std::nullopt},  // the top bit set: no calendar time
        {0x7FFFFFFFFFFFFFFF, "30828-09-14T02:48:05.477Z"},
    };
    for (const auto& test : times)
        EXPECT_EQ(UtcTimeText(test.FileTime), test.Text) << test.FileTime;

    EXPECT_EQ(DurationText(0), "0:00:00.000");
    EXPECT_EQ(DurationText(6'666'055), "1:51:06.055");
    EXPECT_EQ(DurationText(97'843'321), "27:10:43.321");
    EXPECT_EQ(DurationText(0xFFFFFFFF), "1193:02:47.295");
}

}  // namespace
