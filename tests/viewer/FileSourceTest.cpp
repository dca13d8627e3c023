// The viewer on files: a user's hive or a registry export opened from the
// File menu, the common dialog, a drop or F5, what the title and the status
// bar say, a file that cannot be read, and the new columns on real data.
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestData.h"
#include "UserInput.h"
#include "ViewerFixture.h"
#include "base/TextEncoding.h"
#include "ui/Dialogs.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

fs::path Hives()
{
    return TestDataDir() / "hives";
}

// How Windows programs name a file of the test data (drive Z: under Wine).
std::string WindowsPath(const fs::path& path)
{
    char full[MAX_PATH] = {};
    GetFullPathNameA(path.string().c_str(), sizeof full, full, nullptr);
    return full;
}

std::string Utf8Of(const std::wstring& wide)
{
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

// What the window says of the list: the title, the three panes, the check
// mark of "Current User" and the rows (every cell as UTF-8).
struct Display {
    std::string Title;
    Strings Status;
    bool CurrentUser = false;
    std::vector<Strings> Rows;
    bool operator==(const Display&) const = default;
};

class FileViewerTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        if (!fs::is_directory(Hives()))
            GTEST_SKIP() << "no " << Hives();
        // A folder for each test: ctest runs them side by side in one Wine prefix.
        scratch_ = fs::temp_directory_path() /
                   (std::string("tallyglass-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
    }
    void TearDown() override
    {
        ViewerTest::TearDown();
        fs::remove_all(scratch_);
    }

    static Display WhatIsShown(TTallyglassViewer& main)
    {
        Display shown;
        // As the title bar and other programs read it, not through the window's 8-bit procedure.
        wchar_t title[512] = {};
        InternalGetWindowText(main.Handle(), title, 512);
        shown.Title = Utf8Of(title);
        for (int pane = 0; pane < 3; ++pane)
            shown.Status.push_back(main.StatusBar1->PaneText(pane));
        shown.CurrentUser =
            GetMenuState(GetMenu(main.Handle()), main.CurrentUser1->Command(), MF_BYCOMMAND) & MF_CHECKED;
        const TListView& list = *ViewerOf(main).ListView1;
        for (int row = 0; row < list.RowCount(); ++row) {
            Strings cells;
            for (int column = 0; column < static_cast<int>(ListColumnCount); ++column)
                cells.push_back(Utf16ToUtf8(list.UnicodeCellText(row, column)));
            shown.Rows.push_back(cells);
        }
        return shown;
    }

    static Strings Column(const Display& shown, TListColumn column)
    {
        Strings cells;
        for (const Strings& row : shown.Rows)
            cells.push_back(row[column]);
        return cells;
    }

    fs::path scratch_;
};

TEST_F(FileViewerTest, FileMenuOpensHivesAndExportsAndGoesBackToTheCurrentUser)
{
    AddEntry("UEME_RUNPATH:registry.exe", 1, EncodeDate(2006, 1, 2));
    auto* main = CreateMainWindow();
    const Display live = WhatIsShown(*main);
    EXPECT_EQ(live.Title, "Tallyglass Viewer");
    EXPECT_EQ(live.Status, (Strings{"1 entry", "Current user", ""}));
    EXPECT_TRUE(live.CurrentUser);

    const struct {
        fs::path File;
        const char* Title;
        std::size_t Rows;
        const char* ANote;  // one note the rows carry, if any
    } cases[] = {
        {Hives() / "plaso" / "NTUSER-WIN7.DAT", "Tallyglass Viewer - NTUSER-WIN7.DAT", 92,
         "Set by Windows at first logon, not a real run"},
        {Hives() / "plaso" / "NTUSER-WIN7.DAT.UserAssist.reg", "Tallyglass Viewer - NTUSER-WIN7.DAT.UserAssist.reg", 92,
         "Started Chrome"},
        {Hives() / "notatin" / "win7_ntuser.dat", "Tallyglass Viewer - win7_ntuser.dat", 338, "Totals of this key"},
        {Hives() / "plaso" / "NTUSER.DAT", "Tallyglass Viewer - NTUSER.DAT", 16, "Marker, not a program"},
    };
    for (const auto& test : cases) {
        main->OpenFile(test.File.string());
        const Display shown = WhatIsShown(*main);
        EXPECT_EQ(shown.Title, test.Title);
        EXPECT_EQ(shown.Rows.size(), test.Rows) << test.File;
        EXPECT_EQ(shown.Status, (Strings{std::to_string(test.Rows) + " entries", WindowsPath(test.File), ""}));
        EXPECT_FALSE(shown.CurrentUser);
        const Strings notes = Column(shown, lcNote);
        EXPECT_NE(std::find(notes.begin(), notes.end(), test.ANote), notes.end()) << test.File;
    }
    main->CurrentUser1->Click();
    EXPECT_EQ(WhatIsShown(*main), live);
    EXPECT_TRUE(reports_.empty()) << reports_.front();
}

// A drop as the shell makes it: the file names in UTF-16, one after the other.
HGLOBAL DroppedFiles(const std::u16string& name)
{
    const std::size_t size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(name.begin(), name.end(), reinterpret_cast<char16_t*>(drop + 1));
    GlobalUnlock(memory);
    return memory;
}

// Drops a file on the window as the shell would.
void Drop(TTallyglassViewer& main, const fs::path& file)
{
    PostMessageW(main.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles(file.u16string())), 0);
    Application.ProcessMessages();
}

TEST_F(FileViewerTest, AFileThatCannotBeReadChangesNothingAndIsReportedOnce)
{
    const auto hive = ReadFileBytes(Hives() / "plaso" / "NTUSER-WIN7.DAT");
    ASSERT_GT(hive.size(), 12288u);
    std::ofstream(scratch_ / "cut.dat", std::ios::binary).write(reinterpret_cast<const char*>(hive.data()), 12288);
    std::ofstream(scratch_ / "notes.txt", std::ios::binary) << "hello\r\n";
    const struct {
        fs::path File;
        const char* Reason;
    } cases[] = {
        {scratch_ / "cut.dat", "hive is damaged (the file ends at byte 12288, before the end of its last hive bin"},
        {scratch_ / "notes.txt", "not a registry export: the first line is neither"},
        {scratch_ / "missing.dat", "cannot open: "},
    };
    auto* main = CreateMainWindow();
    main->OpenFile((Hives() / "plaso" / "NTUSER.DAT").string());
    const Display before = WhatIsShown(*main);
    ASSERT_EQ(before.Rows.size(), 16u);

    for (const auto& test : cases) {
        const std::size_t reported = reports_.size();
        Drop(*main, test.File);
        ASSERT_EQ(reports_.size(), reported + 1) << test.File;
        EXPECT_EQ(reports_.back().rfind(WindowsPath(test.File) + ": " + test.Reason, 0), 0u) << reports_.back();
        EXPECT_EQ(WhatIsShown(*main), before) << test.File;
    }
    // F5 still reads the file shown before.
    PressKey(main->Handle(), VK_F5);
    EXPECT_EQ(WhatIsShown(*main), before);
    EXPECT_EQ(reports_.size(), std::size(cases));
}

TEST_F(FileViewerTest, ADroppedFileOpensAndF5ReadsItAgain)
{
    // A name beyond the ANSI code page, as only the wide functions carry it.
    const fs::path file = scratch_ / u8"\u05ea\u05d9\u05e7 case.reg";
    // Copies keep the test data's permissions: made writable, so that they can be replaced.
    const auto copy = [&](const char* name) {
        fs::copy_file(Hives() / "plaso" / name, file, fs::copy_options::overwrite_existing);
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    };
    copy("NTUSER.DAT.UserAssist.reg");
    auto* main = CreateMainWindow();
    EXPECT_TRUE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    Drop(*main, file);
    Display shown = WhatIsShown(*main);
    EXPECT_EQ(shown.Title, "Tallyglass Viewer - \xD7\xAA\xD7\x99\xD7\xA7 case.reg");
    EXPECT_EQ(shown.Rows.size(), 16u);

    copy("NTUSER-WIN7.DAT.UserAssist.reg");
    PressKey(main->Handle(), VK_F5);
    shown = WhatIsShown(*main);
    EXPECT_EQ(shown.Rows.size(), 92u);
    EXPECT_EQ(shown.Status[0], "92 entries");
    EXPECT_TRUE(reports_.empty()) << reports_.front();
}

TEST_F(FileViewerTest, CtrlOOpensAFileThroughTheCommonDialog)
{
    const fs::path hive = Hives() / "plaso" / "NTUSER-WIN7.DAT";
    auto* main = CreateMainWindow();
    main->ShowForm();
    {
        const CommonDialogDriver driver(WindowsPath(hive));
        PressKey(main->Handle(), 'O', {VK_CONTROL});
    }
    EXPECT_EQ(WhatIsShown(*main).Title, "Tallyglass Viewer - NTUSER-WIN7.DAT");
    EXPECT_EQ(ViewerOf(*main).ListView1->RowCount(), 92);
    EXPECT_TRUE(reports_.empty()) << reports_.front();
}

// The name a user's hive holds in Hebrew letters (regipy's NTUSER_with_winscp.DAT).
const std::string kHebrewName = "C:\\Users\\tony\\Desktop\\offline\\\xD7\x90\xD7\x97\xD7\xA8\xD7\x99\xD7\x95\xD7\xAA "
                                "\xD7\x93\xD7\xA7\xD7\xA1\xD7\x98\xD7\xA8\\IR Computer image\\Installers\\FileCopies\\"
                                "Desktop\\Malware Tools\\pestudio\\pestudio.exe";

// A focus cell's value for sorting: -1 for an empty cell, else its number,
// or the seconds of its h:mm:ss.
long long FocusValue(const std::string& cell)
{
    if (cell.empty())
        return -1;
    long long value = 0, part = 0;
    for (const char c : cell) {
        if (c == ':') {
            value = (value + part) * 60;
            part = 0;
        } else {
            part = part * 10 + (c - '0');
        }
    }
    return value + part;
}

// The file's rows are read back from the list by the sort, the copy and the
// save, in UTF-16: the Hebrew name comes through all three. The saved file is
// read back by Python's csv module too (saved-csv-readback.sh), which names
// the file in TALLYGLASS_SAVED_HEBREW_CSV.
TEST_F(FileViewerTest, NewColumnsSortCopyAndSaveAHebrewName)
{
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->OpenFile((Hives() / "regipy" / "NTUSER_with_winscp.DAT.UserAssist.reg").string());
    ASSERT_EQ(viewer.ListView1->RowCount(), 140);

    for (const TListColumn column : {lcFocusCount, lcFocusTime}) {
        viewer.ListView1ColumnClick(column);
        const Strings cells = Column(WhatIsShown(*main), column);
        std::vector<long long> values;
        std::transform(cells.begin(), cells.end(), std::back_inserter(values), FocusValue);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << ListColumnTitles[column];
        EXPECT_GT(values.back(), 0) << ListColumnTitles[column];
        EXPECT_EQ(values.front(), -1) << "the shortcuts' rows show no focus";
    }
    viewer.ListView1ColumnClick(lcNote);
    viewer.ListView1ColumnClick(lcNote);  // descending: the notes first
    const Display shown = WhatIsShown(*main);
    const Strings notes = Column(shown, lcNote);
    EXPECT_EQ(notes.front(), "Totals of this key");
    EXPECT_EQ(notes.back(), "");
    const Strings names = Column(shown, lcFileName);
    ASSERT_NE(std::find(names.begin(), names.end(), kHebrewName), names.end());

    EmptyTheClipboard();
    viewer.SelectAll1Click();
    viewer.Copy1Click();
    const std::string copied = Utf8Of(ClipboardUnicodeText());
    EXPECT_EQ(copied.rfind("Count\tFile Name\tType\tExec Count\tFocus Count\tFocus Time\tLast Executed\tNote\r\n", 0),
              0u);
    EXPECT_NE(copied.find("\t" + kHebrewName + "\tExecutable\t"), std::string::npos);

    const char* named = std::getenv("TALLYGLASS_SAVED_HEBREW_CSV");
    const std::string target = named ? named : (scratch_ / "saved.csv").string();
    const ScopedSaveDialogAnswer answer([&](TSaveDialog& dialog) {
        dialog.FileName = target;
        return true;
    });
    viewer.SaveAs1Click();
    std::ifstream saved(target, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(saved), {}};
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF"
                          "Count,File Name,Type,Exec Count,Focus Count,Focus Time,Last Executed,Note\r\n",
                          0),
              0u);
    EXPECT_NE(bytes.find("," + kHebrewName + ",Executable,"), std::string::npos);
    EXPECT_TRUE(reports_.empty()) << reports_.front();
}

}  // namespace
