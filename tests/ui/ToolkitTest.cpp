// The window toolkit driven through real windows under Wine.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MessageLoop.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Design.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

class TestForm : public TForm {
public:
    explicit TestForm(TComponent* owner) : TForm(owner, "TToolkitTestForm")
    {
        SetClientSize(300, 200);
        Top = Place<TPanel>(this, this, {0, 0, 300, 40});
        Top->SetAlign(alTop);
        Bottom = Place<TPanel>(this, this, {0, 180, 300, 20});
        Bottom->SetAlign(alBottom);
        Stretched = Place<TListView>(this, this, {10, 50, 280, 100}, akLeft | akTop | akRight | akBottom);
        Corner = Place<TButton>(this, this, {220, 155, 70, 20}, akRight | akBottom);
        First = Place<TButton>(this, Top, {10, 10, 60, 20});
        Edit = Place<TEdit>(this, Top, {80, 10, 60, 20});
        Caption = Place<TLabel>(this, Top, {150, 12, 0, 0});
        Caption->SetCaption("Some text");
    }

    TPanel* Top;
    TPanel* Bottom;
    TListView* Stretched;
    TButton* Corner;
    TButton* First;
    TEdit* Edit;
    TLabel* Caption;
};

RECT BoundsInParent(const TControl& control)
{
    RECT r{};
    GetWindowRect(control.Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct ToolkitTest : testing::Test {
    void SetUp() override
    {
        Application.Initialize();
        Application.OnErrorReport = [this](const std::string& caption, const std::string& text) {
            reports.push_back(caption + "|" + text);
        };
        Application.Title = "Toolkit";
    }
    void TearDown() override
    {
        Application.DestroyForms();
        Application.OnErrorReport = nullptr;
    }
    std::vector<std::string> reports;
};

TEST(ErrorReportText, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorReportText("Disk full"), "Disk full.");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Invalid data type for 'x'"), "Invalid data type for 'x'");
    EXPECT_EQ(ErrorReportText("Code 42"), "Code 42.");
    EXPECT_EQ(ErrorReportText("Why?"), "Why?.");
    EXPECT_EQ(ErrorReportText("a-"), "a-");
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST_F(ToolkitTest, AnchorsAndAlignmentFollowTheClientArea)
{
    auto* form = Application.CreateForm<TestForm>();
    form->ShowForm();
    form->SetClientSize(400, 260);  // 100 wider, 60 taller

    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->Top->Width(), 400);
    EXPECT_EQ(form->Bottom->Top(), 240);
    const RECT list = BoundsInParent(*form->Stretched);
    EXPECT_EQ(list.left, 10);
    EXPECT_EQ(list.top, 50);
    EXPECT_EQ(list.right - list.left, 380);
    EXPECT_EQ(list.bottom - list.top, 160);
    const RECT corner = BoundsInParent(*form->Corner);
    EXPECT_EQ(corner.left, 320);
    EXPECT_EQ(corner.top, 215);
    EXPECT_EQ(corner.right - corner.left, 70);
}

TEST_F(ToolkitTest, AutoSizedLabelTakesTheSizeOfItsText)
{
    auto* form = Application.CreateForm<TestForm>();
    const int shortWidth = form->Caption->Width();
    form->Caption->SetCaption("Some much longer text than before");
    EXPECT_GT(shortWidth, 0);
    EXPECT_GT(form->Caption->Width(), shortWidth);
    EXPECT_GT(form->Caption->Height(), 8);
}

TEST_F(ToolkitTest, ParentFontChangesReachOnlyControlsThatInheritTheirFont)
{
    auto* form = Application.CreateForm<TestForm>();
    form->Edit->Font().SetColor(clBlue);  // an own font from now on
    ASSERT_FALSE(form->Edit->ParentFont());
    form->Font().SetName("Tahoma");
    EXPECT_EQ(form->First->Font().Name(), "Tahoma");
    EXPECT_TRUE(form->First->ParentFont());
    EXPECT_EQ(form->Edit->Font().Name(), "MS Shell Dlg 2");
}

TEST_F(ToolkitTest, TabMovesThroughTheTabOrderAcrossPanels)
{
    auto* form = Application.CreateForm<TestForm>();
    form->Stretched->SetTabOrder(0);
    form->ShowForm();
    form->Stretched->SetFocus();
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(form->DialogKey(TControl::FromHandle(GetFocus()), VK_TAB));
        visited.push_back(GetFocus());
    }
    // The list first, then the top panel's two in its place, the corner button last.
    const std::vector<HWND> expected{form->First->Handle(), form->Edit->Handle(), form->Corner->Handle(),
                                     form->Stretched->Handle()};
    EXPECT_EQ(visited, expected);
}

TEST_F(ToolkitTest, CloseOfASecondaryFormCarriesOutTheChosenAction)
{
    Application.CreateForm<TestForm>();  // the main form
    auto* second = Application.CreateForm<TestForm>();
    second->ShowForm();
    std::vector<TCloseAction> seen;
    second->OnClose = [&](TForm&, TCloseAction& action) {
        seen.push_back(action);
        action = caNone;
    };
    second->Close();
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    second->OnClose = [&](TForm&, TCloseAction& action) { seen.push_back(action); };
    second->Close();
    EXPECT_FALSE(IsWindowVisible(second->Handle()));
    EXPECT_EQ(seen, (std::vector<TCloseAction>{caHide, caHide}));
}

TEST_F(ToolkitTest, FreedFormLeavesItsOwnerAndCaFreeFreesItLater)
{
    auto* main = Application.CreateForm<TestForm>();
    const int before = main->ComponentCount();
    auto* child = new TestForm(main);
    EXPECT_EQ(main->ComponentCount(), before + 1);
    child->OnClose = [](TForm&, TCloseAction& action) { action = caFree; };
    child->ShowForm();
    child->Close();
    Application.ProcessMessages();
    EXPECT_EQ(main->ComponentCount(), before);
}

TEST_F(ToolkitTest, ClosingTheMainFormEndsTheMessageLoop)
{
    auto* main = Application.CreateForm<TestForm>();
    PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunEndsWithin(10000));
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(ToolkitTest, ModalFormEndsOnAButtonsResultOrEscAndDisablesTheOwner)
{
    auto* main = Application.CreateForm<TestForm>();
    main->ShowForm();
    auto modal = std::make_unique<TestForm>(main);
    modal->Corner->SetModalResult(mrOk);
    modal->First->SetCancel(true);
    modal->First->SetModalResult(mrCancel);

    bool ownerDisabledMeanwhile = false;
    modal->OnClose = [&](TForm&, TCloseAction&) { ownerDisabledMeanwhile = !IsWindowEnabled(main->Handle()); };
    PostMessageA(modal->Corner->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(modal->ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(modal->Handle()));

    PostMessageA(modal->Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(modal->ShowModal(), mrCancel);
    PostMessageA(modal->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(modal->ShowModal(), mrCancel);
}

TEST_F(ToolkitTest, ErrorInAHandlerGoesToTheReportAndTheLoopGoesOn)
{
    auto* main = Application.CreateForm<TestForm>();
    main->First->OnClick = [] { throw std::runtime_error("Broken handler"); };
    SendMessageA(main->First->Handle(), BM_CLICK, 0, 0);
    SendMessageA(main->First->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(reports, (std::vector<std::string>{"Toolkit|Broken handler.", "Toolkit|Broken handler."}));
}

// Enter on a focused button and Esc for a cancel button click it from the
// message loop itself, outside any window procedure.
TEST_F(ToolkitTest, ErrorInAHandlerRunByAKeyGoesToTheReportAndTheLoopGoesOn)
{
    auto* main = Application.CreateForm<TestForm>();
    main->ShowForm();
    main->First->OnClick = [] { throw std::runtime_error("Broken by Enter"); };
    main->Corner->SetCancel(true);
    main->Corner->OnClick = [] { throw std::runtime_error("Broken by Esc"); };
    PostMessageA(main->First->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(main->Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunEndsWithin(10000));
    EXPECT_EQ(reports, (std::vector<std::string>{"Toolkit|Broken by Enter.", "Toolkit|Broken by Esc."}));
}

TEST_F(ToolkitTest, HiddenMenuItemsAreLeftOutOfTheRealMenu)
{
    auto* main = Application.CreateForm<TestForm>();
    auto* menu = new TMainMenu(*main);
    auto* file = new TMenuItem(*menu, nullptr, "File");
    auto* hidden = new TMenuItem(*menu, file, "Hidden");
    new TMenuItem(*menu, file, "-");
    auto* shown = new TMenuItem(*menu, file, "Shown");
    int clicks = 0;
    shown->OnClick = [&] { ++clicks; };
    hidden->SetVisible(false);
    main->SetMenu(menu);

    HMENU popup = GetSubMenu(menu->Handle(), 0);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    char text[32] = {};
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Shown");
    SendMessageA(main->Handle(), WM_COMMAND, shown->Command(), 0);
    SendMessageA(main->Handle(), WM_COMMAND, hidden->Command(), 0);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
