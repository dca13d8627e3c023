// The viewer over a real Windows 7 user's UserAssist area.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "UserAssistHives.h"
#include "ViewerFixture.h"
#include "base/AsciiCase.h"
#include "Win32RegFileWriter.h"

namespace {

// Counts the export's value names that hold a text, read straight from the
// file: the names are stored rotated, and so is the needle.
int StoredNamesContaining(const std::filesystem::path& file, std::string rotatedNeedle)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    int count = 0;
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    while (std::getline(in, line))
        if (line.starts_with('"'))
            count += lower(line.substr(0, line.find("\"="))).find(lower(rotatedNeedle)) != std::string::npos;
    return count;
}

TEST_F(ViewerTest, ListsAWindows7AreaWholeAndFiltersIt)
{
    const UserAssistHive& windows7 = UserAssistHives[1];
    ASSERT_EQ(NameOf(windows7), "plaso/NTUSER-WIN7.DAT");
    if (!std::filesystem::exists(ExportOf(windows7)))
        GTEST_SKIP() << "no " << ExportOf(windows7);
    WriteRegFileToCurrentUser(ExportOf(windows7));

    auto& viewer = ViewerOf(*CreateMainWindow());
    EXPECT_EQ(viewer.ListView1->RowCount(), 92);

    const int skype = StoredNamesContaining(ExportOf(windows7), "fxlcr");  // "skype", rotated
    ASSERT_GT(skype, 0);
    FilterByText(viewer, "skype");
    EXPECT_EQ(viewer.ListView1->RowCount(), skype);
    for (const std::string& name : Names(viewer))
        EXPECT_NE(UpperAsciiLetters(name).find("SKYPE"), std::string::npos) << name;

    // Its last launch was in April 2012: every period lists nothing.
    for (int choice = 1; choice <= 5; ++choice) {
        ChooseDate(viewer, choice);
        EXPECT_EQ(viewer.ListView1->RowCount(), 0) << choice;
    }
    EXPECT_TRUE(reports_.empty()) << reports_.front();
}

}  // namespace
