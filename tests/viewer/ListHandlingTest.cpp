// The viewer's list handled as a Windows user handles lists: header clicks
// sort, keys and the context menu select and copy, "Save As..." writes a
// CSV file, F5 and Enter load. Keys and clicks go through the program's own
// message loop.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "UserInput.h"
#include "ViewerFixture.h"
#include "ui/Dialogs.h"
#include "viewer/FilterRules.h"

namespace {

using Strings = std::vector<std::string>;

void Click(HWND window, POINT at, UINT down = WM_LBUTTONDOWN, std::initializer_list<int> held = {})
{
    const KeysHeld keys(held);
    WPARAM flags = 0;
    for (const int key : held)
        flags |= key == VK_CONTROL ? MK_CONTROL : key == VK_SHIFT ? MK_SHIFT : 0;
    PostMessageA(window, down, flags, MAKELPARAM(at.x, at.y));
    PostMessageA(window, down + 1, flags, MAKELPARAM(at.x, at.y));  // the matching button up
    Application.ProcessMessages();
}

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND HeaderOf(const TListView& list)
{
    return reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_GETHEADER, 0, 0));
}

void ClickHeader(const TListView& list, int column)
{
    RECT r{};
    SendMessageA(HeaderOf(list), HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    Click(HeaderOf(list), Centre(r));
}

void ClickRow(const TListView& list, int row, std::initializer_list<int> held = {})
{
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    Click(list.Handle(), Centre(r), WM_LBUTTONDOWN, held);
}

// The header's sort arrows, one text per column: "", "up" or "down".
Strings SortArrows(const TListView& list)
{
    Strings arrows;
    for (int column = 0; column < static_cast<int>(ListColumnCount); ++column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(HeaderOf(list), HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        arrows.push_back(item.fmt & HDF_SORTUP ? "up" : item.fmt & HDF_SORTDOWN ? "down" : "");
    }
    return arrows;
}

Strings Column(const std::vector<Strings>& rows, int column)
{
    Strings cells;
    for (const auto& row : rows)
        cells.push_back(row[static_cast<std::size_t>(column)]);
    return cells;
}

// Lines of tab-separated cells, as the list's rows are copied.
std::string TabbedLines(const std::vector<Strings>& lines)
{
    std::string text;
    for (const auto& cells : lines) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            text += (i ? "\t" : "") + cells[i];
        text += "\r\n";
    }
    return text;
}

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const Strings kTitles{"Count", "File Name", "Type", "Exec Count", "Focus Count", "Focus Time", "Last Executed", "Note"};

// Answers the pop-up menus that open while it lives, one after the other:
// notes the items each one shows (a greyed item with " (greyed)" after its
// text) and presses that menu's keys, which choose an item or close it.
class MenuAnswers {
public:
    explicit MenuAnswers(std::vector<std::vector<WPARAM>> keys)
        : keys_(std::move(keys)), hook_(SetWindowsHookExA(WH_CALLWNDPROCRET, Seen, nullptr, GetCurrentThreadId()))
    {
        current_ = this;
    }
    ~MenuAnswers()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }

    std::vector<Strings> Shown;

private:
    static LRESULT CALLBACK Seen(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && current_)
            current_->Answer(reinterpret_cast<HMENU>(message->wParam), message->hwnd);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void Answer(HMENU menu, HWND owner)
    {
        Strings items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            if (state & MF_SEPARATOR)
                items.push_back("-");
            else if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION))
                items.push_back(std::string(text) + (state & MF_GRAYED ? " (greyed)" : ""));
        }
        const auto keys = Shown.size() < keys_.size() ? keys_[Shown.size()] : std::vector<WPARAM>{VK_ESCAPE};
        Shown.push_back(items);
        for (const WPARAM key : keys)
            PostMessageA(owner, WM_KEYDOWN, key, 0);
    }

    static inline MenuAnswers* current_ = nullptr;
    std::vector<std::vector<WPARAM>> keys_;
    HHOOK hook_;
};

const std::vector<WPARAM> kChooseSelectAll{VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kChooseCopy{VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kChooseSaveAs{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};

// The names of the given entries in the order the registry reads them, for
// rows whose sort keys tie.
Strings InReadOrder(const Strings& names, const Strings& readOrder)
{
    Strings ordered;
    for (const std::string& name : readOrder)
        if (std::find(names.begin(), names.end(), name) != names.end())
            ordered.push_back(name);
    return ordered;
}

Strings Joined(std::initializer_list<Strings> parts)
{
    Strings all;
    for (const Strings& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(ViewerTest, HeaderClicksSortEachColumnBothWaysAndTheOrderOutlivesALoad)
{
    // Names differ in case so that a case-sensitive sort would put "A-editor"
    // and "UEME_CTLSESSION" before "b-notes"; counts and times sort other
    // than their texts; two executables tie on their type, the session and
    // the undated entry on their time (the session's value is the newest).
    AddEntry("UEME_RUNPIDL:b-notes.lnk", 5, EncodeDate(2006, 2, 1) + 0.5);
    AddEntry("UEME_RUNPATH:A-editor.exe", 12, EncodeDate(2004, 11, 5));
    AddEntry("UEME_RUNPATH:c-paint.exe", -2, EncodeDate(2005, 3, 9));
    AddEntry("UEME_CTLSESSION", 7, Now());
    AddEntryWithoutTime("UEME_RUNCPL:desk.cpl", 1);
    Strings readOrder;
    for (const std::string& value : EnumeratedNames())
        readOrder.push_back(value == "UEME_CTLSESSION" ? value : value.substr(value.find(':') + 1));
    const Strings executables = InReadOrder({"A-editor.exe", "c-paint.exe"}, readOrder);
    const Strings undated = InReadOrder({"UEME_CTLSESSION", "desk.cpl"}, readOrder);

    const struct {
        int Column;
        Strings Ascending, Descending;
    } cases[] = {
        {0, readOrder, Strings(readOrder.rbegin(), readOrder.rend())},
        {1,
         {"A-editor.exe", "b-notes.lnk", "c-paint.exe", "desk.cpl", "UEME_CTLSESSION"},
         {"UEME_CTLSESSION", "desk.cpl", "c-paint.exe", "b-notes.lnk", "A-editor.exe"}},
        {2, Joined({{"desk.cpl"}, executables, {"UEME_CTLSESSION", "b-notes.lnk"}}),
         Joined({{"b-notes.lnk", "UEME_CTLSESSION"}, executables, {"desk.cpl"}})},
        {3,
         {"c-paint.exe", "desk.cpl", "b-notes.lnk", "UEME_CTLSESSION", "A-editor.exe"},
         {"A-editor.exe", "UEME_CTLSESSION", "b-notes.lnk", "desk.cpl", "c-paint.exe"}},
        {6, Joined({undated, {"A-editor.exe", "c-paint.exe", "b-notes.lnk"}}),
         Joined({{"b-notes.lnk", "c-paint.exe", "A-editor.exe"}, undated})},
    };
    auto& viewer = ViewerOf(*CreateMainWindow());
    ASSERT_EQ(readOrder.size(), 5u);
    EXPECT_EQ(SortArrows(*viewer.ListView1), Strings(ListColumnCount, "")) << "no sort before the first click";
    std::map<std::string, std::string> numbers;
    for (const auto& row : Rows(viewer))
        numbers[row[1]] = row[0];

    for (const auto& test : cases) {
        for (const bool descending : {false, true}) {
            ClickHeader(*viewer.ListView1, test.Column);
            const auto rows = Rows(viewer);
            EXPECT_EQ(Column(rows, 1), descending ? test.Descending : test.Ascending)
                << kTitles[test.Column] << (descending ? " descending" : " ascending");
            Strings arrows(ListColumnCount, "");
            arrows[static_cast<std::size_t>(test.Column)] = descending ? "down" : "up";
            EXPECT_EQ(SortArrows(*viewer.ListView1), arrows);
            for (const auto& row : rows)
                EXPECT_EQ(row[0], numbers[row[1]]) << "each row keeps its number";
        }
    }

    // A later load, with an entry more, lists in the order chosen last.
    AddEntry("UEME_RUNPATH:e-newest.exe", 3, EncodeDate(2006, 3, 1));
    Press(*viewer.Button2);
    EXPECT_EQ(Column(Rows(viewer), 1), Joined({{"e-newest.exe"}, cases[4].Descending}));
    EXPECT_EQ(SortArrows(*viewer.ListView1), (Strings{"", "", "", "", "", "", "down", ""}));
    ClickHeader(*viewer.ListView1, 6);
    EXPECT_EQ(Column(Rows(viewer), 1), Joined({cases[4].Ascending, {"e-newest.exe"}}));
}

TEST_F(ViewerTest, ClicksAndKeysSelectRowsAndCtrlCCopiesThemAsShown)
{
    AddEntry("UEME_RUNPATH:C:\\Caf\xe9\\menu.exe", 3, EncodeDate(2006, 1, 31) + EncodeTime(17, 5, 9, 0));
    AddEntry("UEME_RUNPATH:a.exe", 1, EncodeDate(2006, 2, 1));
    AddEntryWithoutTime("UEME_RUNCPL:desk.cpl", 2);
    auto& viewer = ViewerOf(*CreateMainWindow());
    viewer.ListView1->SetFocus();
    HWND list = viewer.ListView1->Handle();
    ClickHeader(*viewer.ListView1, 3);  // by "Exec Count": a.exe, desk.cpl, C:\Café\menu.exe
    const auto rows = Rows(viewer);
    ASSERT_EQ(Column(rows, 1), (Strings{"a.exe", "desk.cpl", "C:\\Caf\xe9\\menu.exe"}));

    EmptyTheClipboard();
    PressKey(list, 'A', {VK_CONTROL});
    PressKey(list, 'C', {VK_CONTROL});
    const std::string all = TabbedLines({kTitles, rows[0], rows[1], rows[2]});
    EXPECT_EQ(ClipboardText(), all);
    const std::wstring unicode = ClipboardText<wchar_t>(CF_UNICODETEXT);
    EXPECT_EQ(unicode.size(), all.size());
    EXPECT_NE(unicode.find(L"\tC:\\Caf\u00e9\\menu.exe\t"), std::wstring::npos);

    // A plain click selects one row, Ctrl adds one, Shift a range.
    ClickRow(*viewer.ListView1, 2);
    PressKey(list, 'C', {VK_CONTROL});
    EXPECT_EQ(ClipboardText(), TabbedLines({kTitles, rows[2]}));
    ClickRow(*viewer.ListView1, 0, {VK_CONTROL});
    PressKey(list, 'C', {VK_CONTROL});
    EXPECT_EQ(ClipboardText(), TabbedLines({kTitles, rows[0], rows[2]}));
    ClickRow(*viewer.ListView1, 1);
    ClickRow(*viewer.ListView1, 2, {VK_SHIFT});
    PressKey(list, 'C', {VK_CONTROL});
    EXPECT_EQ(ClipboardText(), TabbedLines({kTitles, rows[1], rows[2]}));

    // Without Ctrl the letters copy nothing.
    PressKey(list, 'A');
    PressKey(list, 'C');
    EXPECT_EQ(ClipboardText(), TabbedLines({kTitles, rows[1], rows[2]}));
    EXPECT_TRUE(reports_.empty());
}

TEST_F(ViewerTest, ContextMenuOpensByMouseOrKeyboardAndCopiesOnlyASelection)
{
    AddEntry("UEME_RUNPATH:one.exe", 1, EncodeDate(2006, 1, 2));
    AddEntry("UEME_RUNPATH:two.exe", 2, EncodeDate(2006, 1, 3));
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();
    viewer.ListView1->SetFocus();
    HWND list = viewer.ListView1->Handle();
    EmptyTheClipboard();

    MenuAnswers answers({kChooseSelectAll, kChooseCopy, {VK_ESCAPE}});
    Click(list, {300, 300}, WM_RBUTTONDOWN);  // below the rows: nothing selected
    PressKey(list, VK_F10, {VK_SHIFT}, WM_SYSKEYDOWN);
    PressKey(list, VK_APPS);

    const Strings idle{"Copy", "Select All", "-", "Save As..."};
    EXPECT_EQ(answers.Shown, (std::vector<Strings>{{"Copy (greyed)", "Select All", "-", "Save As..."}, idle, idle}));
    const auto rows = Rows(viewer);
    EXPECT_EQ(ClipboardText(), TabbedLines({kTitles, rows[0], rows[1]}));
    EXPECT_TRUE(reports_.empty());
}

// The file is read back by Python's csv module as well (saved-csv-readback.sh),
// which names the file to write in TALLYGLASS_SAVED_CSV.
TEST_F(ViewerTest, SaveAsWritesEveryListedRowAsUtf8CsvInTheOrderShown)
{
    AddEntry("UEME_RUNPATH:C:\\Tools\\say \"hi\", world.exe", 9, EncodeDate(2006, 1, 31) + EncodeTime(17, 5, 9, 0));
    AddEntry("UEME_RUNPIDL:%csidl2%\\Caf\xe9 \"Cr\xe8me\".lnk", 4, EncodeDate(2006, 2, 1));
    AddEntry("UEME_RUNPATH:C:\\\xdc"
             "bung\\na\xefve.exe",
             2, EncodeDate(2005, 12, 24) + EncodeTime(8, 30, 0, 0));
    AddEntry("UEME_CTLSESSION", 12, EncodeDate(2006, 3, 1));
    AddEntryWithoutTime("UEME_RUNCPL:desk.cpl", 1);
    const char* named = std::getenv("TALLYGLASS_SAVED_CSV");
    const auto folder = named ? std::filesystem::path(named).parent_path()
                              : std::filesystem::temp_directory_path() / "tallyglass-save-as";
    const auto target = named ? std::filesystem::path(named) : folder / "list.csv";
    std::filesystem::create_directories(folder);
    std::filesystem::remove(target);
    std::string offered;
    const ScopedSaveDialogAnswer answer([&](TSaveDialog& dialog) {
        offered = dialog.FileName;
        dialog.FileName = target.string();
        return true;
    });

    auto& viewer = ViewerOf(*CreateMainWindow());
    ClickHeader(*viewer.ListView1, 3);
    ClickHeader(*viewer.ListView1, 3);  // "Exec Count" descending
    const MenuAnswers menus({kChooseSaveAs});
    PressKey(viewer.ListView1->Handle(), VK_F10, {VK_SHIFT}, WM_SYSKEYDOWN);

    EXPECT_EQ(offered, "UserAssist.csv");
    const std::string bytes = FileBytes(target);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("Count,File Name,Type,Exec Count,Focus Count,Focus Time,Last Executed,Note\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\"C:\\Tools\\say \"\"hi\"\", world.exe\""), std::string::npos);
    EXPECT_NE(bytes.find("\"[Start Menu]\\Caf\xC3\xA9 \"\"Cr\xC3\xA8me\"\".lnk\""), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
    EXPECT_TRUE(reports_.empty());
    if (!named)
        std::filesystem::remove_all(folder);
}

TEST_F(ViewerTest, SaveAsThroughTheCommonDialogAndReportsAFailedWrite)
{
    AddEntry("UEME_RUNPATH:one.exe", 1, EncodeDate(2006, 1, 2));
    const auto folder = std::filesystem::temp_directory_path() / "tallyglass-common-dialog";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "taken.csv");  // a folder where a file should go
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();

    {
        const CommonDialogDriver driver((folder / "chosen.csv").string());
        viewer.SaveAs1->Click();
        EXPECT_EQ(CommonDialogDriver::Offered(), "UserAssist.csv");
    }
    EXPECT_EQ(FileBytes(folder / "chosen.csv"), "\xEF\xBB\xBF"
                                                "Count,File Name,Type,Exec Count,Focus Count,Focus Time,Last "
                                                "Executed,Note\r\n"
                                                "1,one.exe,Executable,1,,,01/02/2006 00:00:00,\r\n");

    const ScopedSaveDialogAnswer answer([&](TSaveDialog& dialog) {
        dialog.FileName = (folder / "taken.csv").string();
        return true;
    });
    const MenuAnswers menus({kChooseSaveAs});
    PressKey(viewer.ListView1->Handle(), VK_APPS);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].rfind("Cannot save \"" + (folder / "taken.csv").string() + "\": ", 0), 0u) << reports_[0];
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2) << "no temporary file is left";
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.csv"));
    std::filesystem::remove_all(folder);
}

TEST_F(ViewerTest, F5ReloadsTheLastFilterThatLoadedAndEnterShowsTheText)
{
    AddEntry("UEME_RUNPATH:notepad.exe", 1, Now());
    AddEntry("UEME_RUNPATH:old-notes.exe", 1, EncodeDate(2001, 5, 5));
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();
    auto names = [&viewer] {
        Strings listed = Names(viewer);
        std::sort(listed.begin(), listed.end());
        return listed;
    };

    // Enter in the text box shows the text; F5 loads that text again,
    // whatever the box holds by then, from wherever the focus is.
    SendMessageA(viewer.Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("  NOTE"));
    PressKey(viewer.Edit1->Handle(), VK_RETURN);
    EXPECT_EQ(viewer.FilterText, "NOTE");
    EXPECT_EQ(names(), (Strings{"notepad.exe", "old-notes.exe"}));
    AddEntry("UEME_RUNPATH:notes-new.exe", 1, Now());
    AddEntry("UEME_RUNPATH:other.exe", 1, Now());
    SendMessageA(viewer.Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("pad"));
    PressKey(viewer.ListView1->Handle(), VK_F5);
    EXPECT_EQ(names(), (Strings{"notepad.exe", "notes-new.exe", "old-notes.exe"}));

    // After a date load F5 takes that choice's threshold afresh, even with
    // another item chosen since.
    ChooseDate(viewer, dcToday);
    SendMessageA(viewer.ComboBox1->Handle(), CB_SETCURSEL, dcThisYear, 0);
    viewer.FilterDate = 0;
    AddEntry("UEME_RUNPATH:later.exe", 1, Now());
    PressKey(main->Handle(), VK_F5);
    EXPECT_EQ(viewer.FilterDate, Date());
    EXPECT_EQ(names(), (Strings{"later.exe", "notepad.exe", "notes-new.exe", "other.exe"}));

    // A blank text shows nothing, so F5 still loads the date choice; F5
    // with a modifier is not F5.
    SendMessageA(viewer.Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" "));
    PressKey(viewer.Edit1->Handle(), VK_RETURN);
    AddEntry("UEME_RUNPATH:last.exe", 1, Now());
    PressKey(viewer.ComboBox1->Handle(), VK_F5, {VK_CONTROL});
    EXPECT_EQ(Names(viewer).size(), 4u);
    PressKey(viewer.ComboBox1->Handle(), VK_F5);
    EXPECT_EQ(names(), (Strings{"last.exe", "later.exe", "notepad.exe", "notes-new.exe", "other.exe"}));
    EXPECT_TRUE(reports_.empty());
}

}  // namespace
