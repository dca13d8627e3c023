// The link label on a real form: its address rule, its cursor and the shell
// call on a press of any button.
#include "about/URLLabel.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "RecordingShell.h"
#include "ui/Application.h"
#include "ui/Cursors.h"
#include "ui/Design.h"
#include "ui/Form.h"

namespace {

class LinkForm : public TForm {
public:
    explicit LinkForm(TComponent* owner) : TForm(owner, "TURLLabelTestForm")
    {
        Link = Place<TAutoURLLabel>(this, this, {10, 10, 134, 13});
    }
    TAutoURLLabel* Link;
};

class URLLabelTest : public testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        RegisterURLLabelCursor();
        form_ = Application.CreateForm<LinkForm>();
        link_ = form_->Link;
    }
    void TearDown() override
    {
        Application.DestroyForms();
        DestroyURLLabelCursor();
    }

    void Press(UINT message) { SendMessageA(link_->Handle(), message, 0, MAKELPARAM(3, 3)); }

    RecordingShell shell_;
    ScopedShell useShell_{shell_};
    LinkForm* form_ = nullptr;
    TAutoURLLabel* link_ = nullptr;
};

TEST_F(URLLabelTest, LooksLikeALink)
{
    EXPECT_EQ(link_->Font().Color(), clBlue);
    EXPECT_EQ(link_->Font().Style(), fsUnderline);
    EXPECT_EQ(TAutoURLLabel(nullptr).Width(), 100);
}

TEST_F(URLLabelTest, AddressFollowsTheCaptionWhileTheyAreTheSame)
{
    link_->SetCaption("http://a.example");
    EXPECT_EQ(link_->URL(), "http://a.example") << "an empty address takes the caption";
    link_->SetCaption("http://b.example");
    EXPECT_EQ(link_->URL(), "http://b.example") << "equal to the caption: it follows";
    link_->SetURL("http://elsewhere.example");
    link_->SetCaption("Download now!");
    EXPECT_EQ(link_->URL(), "http://elsewhere.example") << "an address of its own stays";
    link_->SetCaption("Download today!");
    EXPECT_EQ(link_->URL(), "http://elsewhere.example");
    link_->SetURL("");
    link_->SetCaption("http://c.example");
    EXPECT_EQ(link_->URL(), "http://c.example") << "an emptied address takes the caption again";
}

TEST_F(URLLabelTest, LoadedAsDesignedItKeepsAStoredAddressThatDiffersFromItsCaption)
{
    // A design stores the caption before the address.
    link_->SetCaption("Download Brightward and protect your privacy today!");
    link_->SetURL("http://www.fernwick-software.example/download/");
    link_->SetCaption("Download Brightward now!");
    EXPECT_EQ(link_->URL(), "http://www.fernwick-software.example/download/");
}

TEST_F(URLLabelTest, EveryButtonPressOpensTheAddressThroughTheShell)
{
    link_->SetCaption("Support");
    link_->SetURL("http://www.fernwick-software.example/support");
    // The second press of a quick double click comes as its own message.
    const UINT presses[] = {WM_LBUTTONDOWN,   WM_RBUTTONDOWN,   WM_MBUTTONDOWN,
                            WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    for (UINT press : presses)
        Press(press);
    const ShellCall expected{0, "open", "http://www.fernwick-software.example/support", "", "", SW_RESTORE};
    EXPECT_EQ(shell_.Calls, std::vector<ShellCall>(std::size(presses), expected));

    Press(WM_LBUTTONUP);  // the release opens nothing more
    EXPECT_EQ(shell_.Calls.size(), std::size(presses));
}

TEST_F(URLLabelTest, PressStillFiresTheMouseEventAndAReleaseTheClick)
{
    link_->SetCaption("http://a.example");
    int downs = 0, clicks = 0;
    link_->OnMouseDown = [&](TControl&, TMouseButton, int, int) { ++downs; };
    link_->OnClick = [&] { ++clicks; };
    Press(WM_LBUTTONDOWN);
    Press(WM_LBUTTONUP);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(URLLabelTest, EmptyCaptionNeitherOpensNorChangesTheCursor)
{
    link_->SetURL("http://a.example");
    link_->SetCaption("");
    SendMessageA(link_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    Press(WM_LBUTTONDOWN);
    EXPECT_EQ(link_->Cursor(), crDefault);
    EXPECT_TRUE(shell_.Calls.empty());
}

TEST_F(URLLabelTest, MovingOverALinkShowsTheHandFromTheResource)
{
    link_->SetCaption("http://a.example");
    SendMessageA(link_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(link_->Cursor(), crAutoURLLabel);

    HCURSOR hand = CursorHandle(crAutoURLLabel);
    ASSERT_NE(hand, CursorHandle(crDefault));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64) << "monochrome: the mask holds both halves";
    EXPECT_EQ(info.hbmColor, nullptr);
    DeleteObject(info.hbmMask);
}

TEST_F(URLLabelTest, WithoutItsHandALinkShowsTheArrowRatherThanNoPointer)
{
    DestroyURLLabelCursor();
    RegisterCursor(crAutoURLLabel, nullptr);  // what a failed load of the resource registers
    link_->SetCaption("http://a.example");
    SendMessageA(link_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SetCursor(nullptr);
    SendMessageA(link_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link_->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

class FailingShell final : public Shell {
public:
    std::uintptr_t DesktopWindow() override { return 0; }
    std::intptr_t Execute(const ShellCall&) override { throw std::runtime_error("no shell"); }
};

TEST_F(URLLabelTest, AddressTheShellCannotOpenShowsNothing)
{
    FailingShell failing;
    ScopedShell use(failing);
    std::vector<std::string> reports;
    Application.OnErrorReport = [&](const std::string&, const std::string& text) { reports.push_back(text); };
    link_->SetCaption("not a web address");
    EXPECT_NO_THROW(Press(WM_LBUTTONDOWN));
    EXPECT_TRUE(reports.empty());
    Application.OnErrorReport = nullptr;
}

}  // namespace
