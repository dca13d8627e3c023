#include "base/CsvWriter.h"

#include <gtest/gtest.h>

namespace {

TEST(CsvWriter, QuotesExactlyTheFieldsThatNeedIt)
{
    const struct {
        std::string_view Field;
        const char* Expected;
    } cases[] = {
        {"", ""},
        {"plain text", "plain text"},
        {" padded ", " padded "},  // blanks belong to the field and stay unquoted
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"line\nfeed", "\"line\nfeed\""},
        {"carriage\rreturn", "\"carriage\rreturn\""},
        {"tab\there", "tab\there"},
        {"C:\\Users\\x\\tool.exe", "C:\\Users\\x\\tool.exe"},
        {"\xd7\xaa\xd7\x95\xd7\x9e\xd7\xa8 - Chrome.lnk", "\xd7\xaa\xd7\x95\xd7\x9e\xd7\xa8 - Chrome.lnk"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(CsvField(test.Field), test.Expected) << test.Field;
}

TEST(CsvWriter, JoinsARecordAndEndsItWithCrLf)
{
    EXPECT_EQ(CsvRecord({"Count", "File Name", "Exec Count"}), "Count,File Name,Exec Count\r\n");
    EXPECT_EQ(CsvRecord({"1", "a,b", "", "x\"y"}), "1,\"a,b\",,\"x\"\"y\"\r\n");
    EXPECT_EQ(CsvRecord(std::vector<std::string>{}), "\r\n");
    EXPECT_EQ(CsvRecord(std::vector<std::string>{"", ""}), ",\r\n");
}

}  // namespace
