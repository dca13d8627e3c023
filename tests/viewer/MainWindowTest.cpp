// The main window: how it hosts the viewer, its menu and the ways it closes.
#include <objbase.h>

#include "MessageLoop.h"
#include "ViewerFixture.h"
#include "ui/Menus.h"
#include "viewer/Program.h"

namespace {

using Strings = std::vector<std::string>;

Strings MenuTexts(HMENU menu)
{
    Strings texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) == 0)
            texts.push_back("-");
        else
            texts.push_back(text);
    }
    return texts;
}

TEST_F(ViewerTest, ViewerFillsTheContainerWithoutABorder)
{
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);

    EXPECT_EQ(main->Caption(), "Tallyglass Viewer");
    EXPECT_EQ(main->ClientWidth(), 1113);
    EXPECT_EQ(main->ClientHeight(), 521 + main->StatusBar1->Height());
    EXPECT_EQ(GetParent(viewer.Handle()), main->ContainerPanel->Handle());
    EXPECT_FALSE(GetWindowLongPtrA(viewer.Handle(), GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(Shown(viewer));
    EXPECT_EQ(viewer.ClientWidth(), 1113);
    EXPECT_EQ(viewer.ClientHeight(), 497);

    // The viewer's controls keep their anchoring against its own design size.
    const RECT list = BoundsInParent(*viewer.ListView1);
    EXPECT_EQ(list.bottom - list.top, 409);
    EXPECT_EQ(BoundsInParent(*viewer.Button1).top, 464);
    EXPECT_EQ(BoundsInParent(*main->Label1).top, 500);
}

std::string WindowText(const TControl& control)
{
    char text[128] = {};
    GetWindowTextA(control.Handle(), text, sizeof text);
    return text;
}

// What the real windows show and how they behave, read back from Windows.
TEST_F(ViewerTest, ViewerControlsAreAsDesigned)
{
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();

    EXPECT_EQ((Strings{WindowText(*viewer.Label1), WindowText(*viewer.Button2), WindowText(*viewer.Label2),
                       WindowText(*viewer.Button3), WindowText(*viewer.Button1)}),
              (Strings{"Filter By Date:", "Show", "Filter By Text:", "Show", "Close"}));

    HWND combo = viewer.ComboBox1->Handle();
    EXPECT_EQ(GetWindowLongPtrA(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    Strings items;
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        char text[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    EXPECT_EQ(items, (Strings{"Show All Entries", "Today", "Last 3 Days", "Last 7 Days", "This Month", "This Year"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);

    HWND list = viewer.ListView1->Handle();
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(style & LVS_SINGLESEL) << "rows are selected as in any Windows list: Shift and Ctrl extend";
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & (LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING));
    EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    struct Column {
        std::string Caption;
        int Width, Format;
        bool operator==(const Column&) const = default;
    };
    std::vector<Column> columns;
    for (int i = 0;; ++i) {
        char caption[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = caption;
        column.cchTextMax = sizeof caption;
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)))
            break;
        columns.push_back({caption, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    EXPECT_EQ(columns, (std::vector<Column>{{"Count", 50, LVCFMT_LEFT},
                                            {"File Name", 300, LVCFMT_LEFT},
                                            {"Type", 100, LVCFMT_LEFT},
                                            {"Exec Count", 80, LVCFMT_RIGHT},
                                            {"Focus Count", 80, LVCFMT_RIGHT},
                                            {"Focus Time", 80, LVCFMT_RIGHT},
                                            {"Last Executed", 170, LVCFMT_LEFT},
                                            {"Note", 200, LVCFMT_LEFT}}));

    // Tab goes round the controls that can take the focus, in the designed order.
    SetFocus(list);
    std::vector<HWND> visited;
    for (int i = 0; i < 6; ++i) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        Application.ProcessMessages();
        visited.push_back(GetFocus());
    }
    EXPECT_EQ(visited, (std::vector<HWND>{combo, viewer.Button2->Handle(), viewer.Edit1->Handle(),
                                          viewer.Button3->Handle(), viewer.Button1->Handle(), list}));
}

TEST_F(ViewerTest, EnlargingTheMainWindowEnlargesTheListAndKeepsTheLabelBottomLeft)
{
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();
    main->SetClientSize(1213, 621 + main->StatusBar1->Height());

    const RECT list = BoundsInParent(*viewer.ListView1);
    EXPECT_EQ(list.right - list.left, 1197);
    EXPECT_EQ(list.bottom - list.top, 509);
    const RECT label = BoundsInParent(*main->Label1);
    EXPECT_EQ(label.left, 8);
    EXPECT_EQ(label.top, 600);
    EXPECT_EQ(BoundsInParent(*viewer.Button1).left, 1132);
}

TEST_F(ViewerTest, HelpMenuHidesItsHelpItemAndFirstSeparator)
{
    auto* main = CreateMainWindow();
    HMENU bar = GetMenu(main->Handle());
    EXPECT_EQ(MenuTexts(bar), (Strings{"File", "Help"}));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 0)), (Strings{"Open...\tCtrl+O", "Current User", "-", "Close"}));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)), (Strings{"Fernwick Software Web Site", "Tallyglass Web Site",
                                                      "Find out more about Brightward", "-", "About"}));
}

TEST_F(ViewerTest, PromotionalLabelIsABlueUnderlinedLinkThatDoesNothing)
{
    auto* main = CreateMainWindow();
    EXPECT_EQ(main->Label1->Caption(),
              "Want to clean the Tallyglass? Download Brightward and protect your privacy today!");
    EXPECT_EQ(main->Label1->Font().Color(), clBlue);
    EXPECT_EQ(main->Label1->Font().Style(), fsUnderline);
    EXPECT_EQ(main->Label1->Cursor(), crHandPoint);

    main->ShowForm();
    const RECT label = BoundsInParent(*main->Label1);
    for (LPARAM at : {MAKELPARAM(label.left + 5, label.top + 5), MAKELPARAM(label.right + 20, label.top + 2)}) {
        HWND target = ChildWindowFromPoint(main->Handle(), POINT{LOWORD(at), HIWORD(at)});
        SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(target, WM_LBUTTONUP, 0, 0);
    }
    Application.ProcessMessages();
    EXPECT_TRUE(shell_.Calls.empty());
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
}

TEST_F(ViewerTest, StartUpTitlesTheProgramAndRereadsDateSettingsWhenTheSystemSaysSo)
{
    TTallyglassViewer* main = StartProgram();
    EXPECT_EQ(Application.MainForm(), main);
    EXPECT_EQ(Application.Title, "Tallyglass Viewer");
    const std::string separator = FormatSettings().DateSeparator;

    FormatSettings().DateSeparator = std::string("#");
    SendMessageA(main->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    EXPECT_EQ(FormatSettings().DateSeparator, separator);
}

// The shell's extensions need COM on the thread that calls ShellExecute.
TEST(ProgramLibraries, KeepTheThreadInASingleThreadedApartmentWhileTheyLast)
{
    {
        const ProgramLibraries libraries;
        // A thread in a single-threaded apartment cannot join the multithreaded one.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    }
    const HRESULT afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(afterwards, S_OK) << "COM is uninitialised at the end";
    if (SUCCEEDED(afterwards))
        CoUninitialize();
}

class WebMenuTest : public ViewerTest {
protected:
    WebMenuTest() : ViewerTest(ScratchRegistry::CurrentUser | ScratchRegistry::ClassesRoot) {}
};

TEST_F(WebMenuTest, WebItemsOpenTheMakersPagesInTheRegisteredBrowser)
{
    scratch_.SetString(ScratchRegistry::ClassesRoot, "http\\shell\\open\\command", "",
                       "\"C:\\windows\\system32\\winebrowser.exe\" -nohome \"%1\"");
    auto* main = CreateMainWindow();
    for (TMenuItem* item :
         {main->FernwickSoftwareWebSite1, main->TallyglassWebSite1, main->FindoutmoreaboutBrightward1})
        SendMessageA(main->Handle(), WM_COMMAND, item->Command(), 0);

    Strings opened;
    for (const ShellCall& call : shell_.Calls) {
        EXPECT_EQ(call.File, "C:\\windows\\system32\\winebrowser.exe");
        EXPECT_EQ(call.Verb, "open");
        opened.push_back(call.Parameters);
    }
    EXPECT_EQ(opened, (Strings{"http://fernwick.example", "http://fernwick.example/products/Tallyglass/",
                               "http://fernwick.example/products/Brightward/"}));
}

// Each way of closing posts its message and lets the program's loop run.
class ClosingTest : public ViewerTest, public testing::WithParamInterface<const char*> {};

TEST_P(ClosingTest, EveryWayOfClosingEndsTheLoop)
{
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    const std::string way = GetParam();
    if (way == "menu")
        PostMessageA(main->Handle(), WM_COMMAND, main->Close1->Command(), 0);
    else if (way == "close-command")
        PostMessageA(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        PostMessageA(viewer.Button1->Handle(), BM_CLICK, 0, 0);

    EXPECT_TRUE(RunEndsWithin(10000));
    if (way == "viewer-button") {
        EXPECT_FALSE(Shown(viewer)) << "the viewer hides itself after closing its owner";
    }
    EXPECT_TRUE(reports_.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest, testing::Values("menu", "close-command", "viewer-button"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
