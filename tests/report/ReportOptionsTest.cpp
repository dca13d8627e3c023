#include "report/ReportOptions.h"

#include <gtest/gtest.h>

namespace {

constexpr ReportPlatform Linux{false};
constexpr ReportPlatform Windows{true};

std::string Describe(const ReportOptions& options)
{
    std::string text;
    for (const SourceSpec& source : options.Sources)
        text += (source.Kind == SourceKind::Hive        ? "hive:"
                 : source.Kind == SourceKind::RegExport ? "reg:"
                 : source.Kind == SourceKind::Tree      ? "dir:"
                                                        : "live") +
                source.File + " ";
    text += "format:" + std::to_string(static_cast<int>(options.Format));
    if (options.Period)
        text += " period:" + std::to_string(*options.Period);
    if (options.Needle)
        text += " text:" + *options.Needle;
    if (!options.ReplayLogs)
        text += " no-logs";
    if (options.SaveRecoveredHive)
        text += " save:" + *options.SaveRecoveredHive;
    if (options.Jobs)
        text += " jobs:" + std::to_string(*options.Jobs);
    return text;
}

TEST(ReportOptions, ReadsSourcesFormatsAndFilters)
{
    const struct {
        std::vector<std::string> Arguments;
        ReportPlatform Platform;
        const char* Expected;
    } cases[] = {
        {{"--hive", "NTUSER.DAT"}, Linux, "hive:NTUSER.DAT format:0"},
        {{"--hive=a.dat", "--reg", "b.reg", "--hive", "c"}, Linux, "hive:a.dat reg:b.reg hive:c format:0"},
        {{"--reg", "x.reg", "--format", "csv", "--period", "3days", "--text", "  Note Pad\t"},
         Linux,
         "reg:x.reg format:1 period:2 text:NOTE PAD"},
        {{"--format=json", "--period=year", "--reg=--odd name.reg"}, Linux, "reg:--odd name.reg format:2 period:5"},
        {{"--period", "today", "--reg", "r"}, Linux, "reg:r format:0 period:1"},
        {{"--period", "7days", "--reg", "r"}, Linux, "reg:r format:0 period:3"},
        {{"--period", "month", "--reg", "r"}, Linux, "reg:r format:0 period:4"},
        {{"--no-logs", "--hive", "h", "--save-recovered-hive=out.dat"}, Linux, "hive:h format:0 no-logs save:out.dat"},
        {{}, Windows, "live format:0"},
        {{"--dir", "Users", "--hive", "a", "--dir=C:\\Evidence", "--reg", "r", "--jobs", "3"},
         Linux,
         "dir:Users hive:a dir:C:\\Evidence reg:r format:0 jobs:3"},
        {{"--format", "table", "--text", "\xd7\xaa"}, Windows, "live format:0 text:\xd7\xaa"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Describe(ParseReportArguments(test.Arguments, test.Platform)), test.Expected) << test.Expected;
    EXPECT_TRUE(ParseReportArguments({"--help"}, Linux).Help);
    EXPECT_TRUE(ParseReportArguments({"--format", "csv", "-h"}, Windows).Help);
}

TEST(ReportOptions, RefusesWhatItCannotFollow)
{
    const struct {
        std::vector<std::string> Arguments;
        ReportPlatform Platform;
        const char* Message;
    } cases[] = {
        {{}, Linux, "name a hive file with --hive, a registry export with --reg or a folder with --dir"},
        {{"NTUSER.DAT"}, Linux, "\"NTUSER.DAT\": name each file with --hive, --reg or --dir"},
        {{"--hive"}, Linux, "--hive needs a value"},
        {{"--reg", "a", "--format", "xml"},
         Linux,
         "--format takes table|csv|json|jsonl|bodyfile|tln|timesketch, not \"xml\""},
        {{"--reg", "a", "--period", "week"}, Linux, "--period takes today|3days|7days|month|year, not \"week\""},
        {{"--reg", "a", "--text", " \t "}, Linux, "--text needs a text that is not blank"},
        {{"--reg", "a", "--text="}, Linux, "--text needs a text that is not blank"},
        {{"--reg", "a", "--format", "csv", "--format", "json"}, Linux, "--format is given twice"},
        {{"--reg", "a", "--verbose"}, Linux, "unknown option \"--verbose\""},
        {{"--help=yes"}, Linux, "--help takes no value"},
        {{"--dir"}, Linux, "--dir needs a value"},
        {{"--dir", "d", "--jobs", "0"}, Linux, "--jobs takes a number of at least 1, not \"0\""},
        {{"--dir", "d", "--jobs=two"}, Linux, "--jobs takes a number of at least 1, not \"two\""},
        {{"--dir", "d", "--jobs", "2", "--jobs", "2"}, Linux, "--jobs is given twice"},
        {{"--reg", "a", "--save-recovered-hive", "out"},
         Linux,
         "--save-recovered-hive needs exactly one --hive and no other source"},
        {{"--hive", "a", "--hive", "b", "--save-recovered-hive", "out"},
         Linux,
         "--save-recovered-hive needs exactly one --hive and no other source"},
    };
    for (const auto& test : cases) {
        try {
            ParseReportArguments(test.Arguments, test.Platform);
            ADD_FAILURE() << "accepted: " << test.Message;
        } catch (const EUsage& error) {
            EXPECT_EQ(error.Message(), test.Message);
        }
    }
}

}  // namespace
