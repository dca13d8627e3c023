// The windows at the screen's resolution: each form's design (positions,
// client sizes, anchoring, column widths, font heights) scaled by DPI / 96
// when the form is made, the pictures grown and drawn stretched, the links
// inside the dialog, and the About box owned by the window that shows it.
// At 96 DPI the checks are the design itself; ctest also runs them in a copy
// of the test prefix set to 144 DPI (at-dpi.sh).
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "AboutFixture.h"
#include "TestCanvas.h"
#include "base/GdiObjects.h"
#include "ui/Design.h"
#include "ui/Dpi.h"
#include "ui/Image.h"

namespace {

// The resolution the run asks for: a prefix whose setting did not take must
// fail rather than check 96 DPI twice.
void ExpectTheRequestedResolution()
{
    if (const char* requested = std::getenv("TALLYGLASS_TEST_DPI")) {
        ASSERT_EQ(ScreenPixelsPerInch(), std::atoi(requested));
    }
}

// A font's pixel height at the screen's resolution, cut towards zero.
int FontHeightAtScreenResolution(int designHeight)
{
    return designHeight * ScreenPixelsPerInch() / kDesignPixelsPerInch;
}

// A design length on this screen, within rounding: every scaled length
// rounds by up to half a pixel, and an anchored one adds two of them.
void ExpectScaled(int actual, int design, const std::string& what)
{
    const double exact = design * (ScreenPixelsPerInch() / static_cast<double>(kDesignPixelsPerInch));
    EXPECT_LE(std::abs(actual - exact), 1.5) << what << " is " << actual << " for a design of " << design;
}

struct Designed {
    const char* Name;
    const TControl* Control;
    TBounds Bounds;  // in its parent's client area at 96 DPI
    // An auto-sized label's size follows its text; only its place counts.
    bool AutoSized = false;
};

void ExpectPlacedAsDesigned(std::initializer_list<Designed> controls)
{
    for (const Designed& c : controls) {
        const RECT r = ViewerTest::BoundsInParent(*c.Control);
        const std::string name = c.Name;
        ExpectScaled(r.left, c.Bounds.Left, name + "'s left");
        ExpectScaled(r.top, c.Bounds.Top, name + "'s top");
        if (!c.AutoSized) {
            ExpectScaled(r.right - r.left, c.Bounds.Width, name + "'s width");
            ExpectScaled(r.bottom - r.top, c.Bounds.Height, name + "'s height");
        }
    }
}

void ExpectClientScaled(const TControl& form, int width, int height, const std::string& name)
{
    ExpectScaled(form.ClientWidth(), width, name + "'s client width");
    ExpectScaled(form.ClientHeight(), height, name + "'s client height");
}

// The pixel height of the font a system control was given.
int FontHeightOf(const TControl& control)
{
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// What the image control shows is its graphic drawn over the dialog's
// background, stretched to the whole control.
void ExpectShowsItsGraphicStretched(TImage& image, const char* name)
{
    RECT client{};
    GetClientRect(image.Handle(), &client);
    UpdateWindow(image.Handle());
    TestCanvas shown(client.right, client.bottom, 0u);
    HDC window = GetDC(image.Handle());
    BitBlt(shown.DC(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ReleaseDC(image.Handle(), window);

    const COLORREF face = ColorToRGB(clBtnFace);
    TestCanvas expected(client.right, client.bottom, CanvasPixel(GetRValue(face), GetGValue(face), GetBValue(face)));
    image.Picture().Graphic()->Draw(expected.DC(), client);
    EXPECT_TRUE(shown.Pixels() == expected.Pixels()) << name << " is not its picture stretched over the control";
}

TEST_F(ViewerTest, MainWindowAndViewerScaleTheirDesignToTheScreen)
{
    ExpectTheRequestedResolution();
    auto* main = CreateMainWindow();
    auto& viewer = ViewerOf(*main);
    main->ShowForm();

    // A scaled window wider than the screen's work area is cut to it, and
    // what is anchored on the right gives way by as much (in design pixels).
    RECT work{}, outer{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(main->Handle(), &outer);
    EXPECT_LE(outer.right - outer.left, work.right - work.left);
    const int cut = static_cast<int>(
        std::lround(1113 - main->ClientWidth() * kDesignPixelsPerInch / static_cast<double>(ScreenPixelsPerInch())));
    if (cut > 1)
        EXPECT_EQ(outer.right - outer.left, work.right - work.left);
    ExpectClientScaled(*main, 1113 - cut, 521 + 22, "the main window");
    ExpectClientScaled(viewer, 1113 - cut, 497, "the embedded viewer");
    // The viewer's controls as anchored in the container (see
    // ViewerFillsTheContainerWithoutABorder for the design size).
    ExpectPlacedAsDesigned({
        {"ContainerPanel", main->ContainerPanel, {0, 0, 1113 - cut, 497}},
        {"the promotional Label1", main->Label1, {8, 500, 0, 0}, true},
        {"PanelTop", viewer.PanelTop, {0, 0, 1113 - cut, 41}},
        {"Label1", viewer.Label1, {16, 12, 0, 0}, true},
        {"ComboBox1", viewer.ComboBox1, {96, 8, 145, 21}},
        {"Button2", viewer.Button2, {248, 6, 65, 25}},
        {"Label2", viewer.Label2, {352, 12, 0, 0}, true},
        {"Edit1", viewer.Edit1, {432, 8, 121, 21}},
        {"Button3", viewer.Button3, {560, 6, 65, 25}},
        {"Bevel1", viewer.Bevel1, {0, 32, 1113 - cut, 9}},
        {"ListView1", viewer.ListView1, {8, 48, 1097 - cut, 409}},
        {"PanelReading", viewer.PanelReading, {18, 128, 717, 57}},
        {"Label5", viewer.Label5, {0, 0, 717, 13}},
        {"ProgressBar1", viewer.ProgressBar1, {16, 24, 689, 17}},
        {"Button1", viewer.Button1, {1032 - cut, 464, 75, 25}},
    });
    const int widths[] = {50, 300, 100, 80, 80, 80, 170, 200};
    for (int column = 0; column < 8; ++column)
        ExpectScaled(static_cast<int>(SendMessageA(viewer.ListView1->Handle(), LVM_GETCOLUMNWIDTH, column, 0)),
                     widths[column], "column " + std::to_string(column));
    EXPECT_EQ(FontHeightOf(*viewer.Button1), FontHeightAtScreenResolution(-11));
    EXPECT_EQ(FontHeightOf(*viewer.ListView1), FontHeightAtScreenResolution(-11));
    EXPECT_EQ(main->Label1->Font().Height(), FontHeightAtScreenResolution(-11)) << "an own font scales too";
}

TEST_F(AboutDialogTest, ItsDesignScalesToTheScreenAndItsPicturesGrowStretched)
{
    ExpectTheRequestedResolution();
    ShowAbout([](TAbout& about) {
        ExpectClientScaled(about, 497, 385, "the About dialog");
        ExpectPlacedAsDesigned({
            {"Label3", about.Label3, {104, 16, 0, 0}, true},
            {"lblVersion", about.lblVersion, {377, 19, 104, 30}},
            {"Label5", about.Label5, {104, 48, 0, 0}, true},
            {"lblURL", about.lblURL, {304, 120, 0, 0}, true},
            {"Label17", about.Label17, {304, 104, 0, 0}, true},
            {"Image1", about.Image1, {112, 120, 174, 45}},
            {"Label6", about.Label6, {16, 280, 465, 57}},
            {"ImageProgramIcon", about.ImageProgramIcon, {16, 16, 64, 64}},
            {"Bevel2", about.Bevel2, {104, 192, 377, 9}},
            {"Bevel3", about.Bevel3, {104, 88, 377, 9}},
            {"Label1", about.Label1, {304, 144, 0, 0}, true},
            {"AutoURLLabel1", about.AutoURLLabel1, {304, 160, 0, 0}, true},
            {"Bevel4", about.Bevel4, {16, 264, 465, 9}},
            {"AutoURLLabel2", about.AutoURLLabel2, {104, 232, 0, 0}, true},
            {"Label2", about.Label2, {104, 208, 377, 17}},
            {"PanelBottom", about.PanelBottom, {0, 344, 497, 41}},
            {"Bevel1", about.Bevel1, {0, 0, 497, 9}},
            {"btnOK", about.btnOK, {416, 8, 75, 25}},
        });
        EXPECT_EQ(FontHeightOf(*about.btnOK), FontHeightAtScreenResolution(-11));
        EXPECT_EQ(about.Label3->Font().Height(), FontHeightAtScreenResolution(-16));
        EXPECT_EQ(about.lblURL->Font().Height(), FontHeightAtScreenResolution(-11));
        ExpectShowsItsGraphicStretched(*about.ImageProgramIcon, "the program icon");
        ExpectShowsItsGraphicStretched(*about.Image1, "the logo");
        Press(*about.btnOK);
    });
}

TEST_F(AboutDialogTest, EveryLinkFitsInsideTheDialog)
{
    ShowAbout([](TAbout& about) {
        RECT client{};
        GetClientRect(about.Handle(), &client);
        HDC dc = GetDC(about.Handle());
        for (const TAutoURLLabel* link : {about.lblURL, about.AutoURLLabel1, about.AutoURLLabel2}) {
            const std::string caption = link->Caption();
            SIZE text{};
            {
                const SelectedObject font(dc, link->Font().Handle());
                GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
            }
            const RECT bounds = ViewerTest::BoundsInParent(*link);
            EXPECT_LE(bounds.left + text.cx, client.right) << caption << " runs past the dialog's edge";
            EXPECT_LE(bounds.right, client.right) << caption;
        }
        ReleaseDC(about.Handle(), dc);
        Press(*about.btnOK);
    });
}

// Owned, the box has no taskbar button and cannot fall behind the disabled
// main window. Xvfb offers no second screen beside the first, so the
// monitor checked is the one the main window is on.
TEST_F(AboutDialogTest, IsOwnedByTheMainWindowAndCentredOverItOnItsMonitor)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(main_->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    const struct {
        const char* Where;
        int Left, Top;
        bool Centred;  // else kept inside the work area
    } places[] = {
        {"off the screen's centre", work.left + 20, work.top + 10, true},
        {"half past the screen's right edge", work.right - 200, work.top + 40, false},
    };
    for (const auto& place : places) {
        SetWindowPos(main_->Handle(), nullptr, place.Left, place.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowAbout([&](TAbout& about) {
            HWND dialog = about.Handle();
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_->Handle()) << place.Where;
            EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW) << place.Where;
            RECT box{}, owner{};
            GetWindowRect(dialog, &box);
            GetWindowRect(main_->Handle(), &owner);
            EXPECT_GE(box.left, work.left) << place.Where;
            EXPECT_GE(box.top, work.top) << place.Where;
            EXPECT_LE(box.right, work.right) << place.Where;
            EXPECT_LE(box.bottom, work.bottom) << place.Where;
            if (place.Centred) {
                EXPECT_LE(std::abs((box.left + box.right) - (owner.left + owner.right)), 1) << place.Where;
                EXPECT_LE(std::abs((box.top + box.bottom) - (owner.top + owner.bottom)), 1) << place.Where;
            }
            Press(*about.btnOK);
        });
    }
}

}  // namespace
