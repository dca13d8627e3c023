#include "support/VersionText.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatVersionText, JoinsMinorAndReleaseAndNamesTheBuildsLastDigitByALetter)
{
    const struct {
        TExeVersion Version;
        const char* Text;
    } cases[] = {
        {{1, 0, 0, 10}, "1.00"},  {{1, 0, 0, 13}, "1.00e"}, {{1, 0, 0, 21}, "1.00c"}, {{1, 0, 0, 1}, "1.00c"},
        {{1, 0, 0, 9}, "1.00k"},  {{1, 0, 0, 20}, "1.00"},  {{1, 0, 0, 30}, "1.00"},  {{1, 0, 0, 0}, "1.00"},
        {{2, 1, 3, 5}, "2.13g"},  {{1, 10, 2, 0}, "1.102"}, {{65535, 65535, 65535, 65535}, "65535.6553565535g"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(FormatVersionText(test.Version), test.Text) << test.Text;
}

TEST(BuildLetters, RunFromCToKWithNoLetterForZero)
{
    EXPECT_EQ(BuildLetters[0], nullptr);
    for (std::size_t n = 1; n <= 9; ++n)
        EXPECT_EQ(BuildLetters[n], std::string(1, static_cast<char>('a' + n + 1))) << n;
}

TEST(LinkTimeStampToDateTime, CountsSecondsFromNewYear1970AsUnsigned)
{
    EXPECT_EQ(LinkTimeStampToDateTime(0), 25569.0);
    EXPECT_EQ(LinkTimeStampToDateTime(86400), 25570.0);
    EXPECT_EQ(LinkTimeStampToDateTime(43200), 25569.5);
    // 22 March 2006, 16:23:48 UTC.
    EXPECT_DOUBLE_EQ(LinkTimeStampToDateTime(1143044628), EncodeDate(2006, 3, 22) + EncodeTime(16, 23, 48, 0));
    // Past 2038 the stamp stays positive.
    EXPECT_GT(LinkTimeStampToDateTime(0xFFFFFFFFu), EncodeDate(2106, 2, 7));
}

}  // namespace
