// The report tool run in-process on files of every kind, whole and broken:
// what it prints, what it tells on stderr, and its exit code.
#include "report/ReportTool.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "TestData.h"
#include "history/StartMenuHistory.h"
#include "history/UserAssistValue.h"
#include "report/ReportFilter.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int Code;
    std::string Out;
    std::string Err;
};

ToolRun Report(std::vector<std::string> arguments)
{
    StringOutput out;
    StringOutput err;
    const int code = RunReport(arguments, out, err);
    return {code, out.Text, err.Text};
}

int JsonRows(const std::string& json)
{
    int rows = 0;
    for (std::size_t at = json.find("{\"source\""); at != std::string::npos; at = json.find("{\"source\"", at + 1))
        ++rows;
    return rows;
}

std::string HexList(std::span<const std::uint8_t> bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes)
        text += std::string(text.empty() ? "" : ",") + Digits[byte >> 4] + Digits[byte & 0xF];
    return text;
}

// A current-layout value line of an export: the name stored letter-rotated,
// with its backslashes and quotes escaped.
std::string ValueLine(const std::string& name, std::int32_t runs, TDateTime lastRun, std::size_t extraBytes = 0)
{
    std::string quoted;
    for (const char c : Rot13(name))
        quoted += c == '\\' || c == '"' ? std::string("\\") + c : std::string(1, c);
    UserAssistRecord record;
    record.ExecCount = runs;
    record.LastExecuted = CalendarToFileTime(DecodeDateTime(lastRun));
    const auto bytes = EncodeCurrentUserAssistRecord(record);
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    data.resize(data.size() + extraBytes);
    return "\"" + quoted + "\"=hex:" + HexList(data) + "\r\n";
}

constexpr const char* ExecutablesKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";

// The head of an export with the executables' key under a user root, as
// "reg export" writes it, or of an export of that key alone.
std::string ExportHead(const std::string& root, bool withUserAssistKey = true)
{
    const std::string userAssist = std::string(ExecutablesKey).substr(0, std::string(ExecutablesKey).rfind('\\'));
    return "Windows Registry Editor Version 5.00\r\n\r\n" +
           (withUserAssistKey ? "[" + root + userAssist + "]\r\n\r\n" : "") + "[" + root + ExecutablesKey +
           "]\r\n\"Version\"=dword:00000005\r\n\r\n[" + root + ExecutablesKey + "\\Count]\r\n";
}

class ReportToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tallyglass-report-test-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, std::string_view bytes) const
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path dir_;
};

TEST_F(ReportToolTest, ReportsEachFileInTurnAndEndsWithTheWorstExitCode)
{
    const fs::path realHive = TestDataDir() / "hives" / "plaso" / "NTUSER-WIN7.DAT";
    if (!fs::exists(realHive))
        GTEST_SKIP() << "no shared test data at " << TestDataDir();
    const std::vector<std::uint8_t> hiveBytes = ReadFileBytes(realHive);
    const std::string hive = realHive.string();
    const std::string cutHive = Write("cut.dat", std::string(hiveBytes.begin(), hiveBytes.begin() + 700'000));
    std::string renamed(hiveBytes.begin(), hiveBytes.end());
    renamed.replace(renamed.find("UserAssist"), 10, "UserAssisX");
    const std::string withoutUserAssist = Write("without.dat", renamed);
    const TDateTime day = EncodeDate(2020, 5, 17);
    const std::string good = Write(
        "good.reg", ExportHead("HKEY_CURRENT_USER") + ValueLine("C:\\a.exe", 3, day) + ValueLine("C:\\b.exe", 4, day));
    const std::string malformed =
        Write("malformed.reg", ExportHead("HKEY_CURRENT_USER") + ValueLine("C:\\a.exe", 3, day) +
                                   ValueLine("C:\\b.exe", 4, day) + "\"c\"=dword:xyz\r\n");
    const std::string refused = Write(
        "refused.reg", ExportHead("HKCU") + ValueLine("C:\\a.exe", 3, day) + ValueLine("C:\\long.exe", 4, day, 1));
    // A name with a carriage return and an escape: its message stays one line.
    const std::string steering = Write("steering.reg", ExportHead("HKCU") + ValueLine("C:\\x\r\x1b[2J.exe", 4, day, 1));
    const std::string otherUser =
        Write("other.reg", ExportHead("HKEY_USERS\\S-1-5-21-7", false) + ValueLine("C:\\a.exe", 3, day));
    const std::string missing = (dir_ / "missing.reg").string();

    const struct {
        std::vector<std::string> Arguments;
        int Code;
        int Rows;
        std::vector<std::string> Messages;
    } cases[] = {
        {{"--hive", hive}, 0, 92, {}},
        {{"--reg", good}, 0, 2, {}},
        {{"--reg", missing}, 3, 0, {missing + ": cannot open: No such file or directory"}},
        {{"--reg", dir_.string()}, 3, 0, {dir_.string() + ": cannot read: Is a directory"}},
        {{"--reg", hive},
         4,
         0,
         {hive + ": not a registry export: the first line is neither \"Windows Registry Editor Version 5.00\" nor "
                 "\"REGEDIT4\""}},
        {{"--hive", good}, 4, 0, {good + ": not a registry hive: it does not begin with \"regf\""}},
        {{"--reg", malformed},
         6,
         2,
         {malformed + ": malformed line 11: a dword must be one to eight hexadecimal digits"}},
        {{"--reg", refused}, 1, 1, {refused + ": Invalid data type for '" + Rot13("C:\\long.exe") + "'"}},
        {{"--reg", steering}, 1, 0, {steering + ": Invalid data type for 'P:\\k??[2W.rkr'"}},
        {{"--reg", otherUser},
         0,
         1,
         {otherUser + ": note: the UserAssist key under HKEY_USERS\\S-1-5-21-7 is read as "
                      "the current user's"}},
        {{"--hive", withoutUserAssist}, 0, 0, {}},
        {{"--hive", cutHive},
         5,
         0,
         {cutHive + ": hive is damaged (the file ends at byte 700000, before the end of its last hive bin at 1064960; "
                    "1 more problem)"}},
        // Several files: each is read, the worst code wins, one array holds them all.
        {{"--reg", good, "--reg", missing, "--reg", refused, "--hive", hive},
         3,
         95,
         {missing + ": cannot open: No such file or directory",
          refused + ": Invalid data type for '" + Rot13("C:\\long.exe") + "'"}},
        {{"--reg", good, "--text", " B.EXE "}, 0, 1, {}},
        {{"--hive", hive, "--text", "skype"}, 0, 1, {}},
        {{"--hive", hive, "--period", "year"}, 0, 0, {}},
    };
    for (const auto& test : cases) {
        std::vector<std::string> arguments = test.Arguments;
        arguments.insert(arguments.end(), {"--format", "json"});
        const ToolRun run = Report(arguments);
        SCOPED_TRACE(testing::PrintToString(test.Arguments));
        EXPECT_EQ(run.Code, test.Code);
        EXPECT_EQ(JsonRows(run.Out), test.Rows);
        EXPECT_TRUE(run.Out.starts_with("[") && run.Out.ends_with("]\n")) << run.Out;
        std::string expected;
        for (const std::string& message : test.Messages)
            expected += message + "\n";
        EXPECT_EQ(run.Err, expected);
    }
}

TEST_F(ReportToolTest, AppliesThePeriodsFromTheLocalClockLikeTheViewer)
{
    // Per period, one entry exactly at its threshold (left out: it must be
    // later) and one a second after it (listed).
    const TDateTime now = Now();
    std::string file = ExportHead("HKEY_CURRENT_USER");
    const char* periods[] = {"today", "3days", "7days", "month", "year"};
    for (int choice = dcToday; choice <= dcThisYear; ++choice) {
        const TDateTime threshold = *DateFilterThreshold(choice, now);
        file += ValueLine(std::string("at-") + periods[choice - 1], 1, threshold);
        file += ValueLine(std::string("after-") + periods[choice - 1], 1, threshold + 1.0 / 86400);
    }
    const std::string reg = Write("periods.reg", file);
    for (int choice = dcToday; choice <= dcThisYear; ++choice) {
        const std::string period = periods[choice - 1];
        const ToolRun run = Report({"--reg", reg, "--format", "csv", "--period", period});
        EXPECT_EQ(run.Code, 0) << run.Err;
        EXPECT_NE(run.Out.find(",after-" + period + ","), std::string::npos) << period;
        EXPECT_EQ(run.Out.find(",at-" + period + ","), std::string::npos) << period;
    }
    // Both filters at once: a row must pass both.
    const ToolRun both = Report({"--reg", reg, "--format", "csv", "--period", "year", "--text", "AFTER-t"});
    const std::string rows = both.Out.substr(both.Out.find("\r\n") + 2);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1) << rows;
    EXPECT_NE(rows.find(",after-today,"), std::string::npos) << rows;
}

TEST_F(ReportToolTest, AnswersUsageErrorsAndHelpWithoutReadingAnything)
{
    const ToolRun usage = Report({"--format", "xml"});
    EXPECT_EQ(usage.Code, 2);
    EXPECT_EQ(usage.Out, "");
    EXPECT_EQ(usage.Err, "tallyglass-report: --format takes table|csv|json|jsonl|bodyfile|tln|timesketch, not "
                         "\"xml\"\nTry \"tallyglass-report --help\".\n");
    const ToolRun help = Report({"--help"});
    EXPECT_EQ(help.Code, 0);
    EXPECT_TRUE(help.Out.starts_with("usage: tallyglass-report ")) << help.Out;
    EXPECT_EQ(help.Err, "");
}

}  // namespace
