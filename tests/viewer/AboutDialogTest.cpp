// Help, About on the real main window: the dialog's texts, its ways of
// closing, its pictures, and the main window meanwhile.
#include "AboutFixture.h"
#include "support/MakerSite.h"
#include "ui/Image.h"

namespace {

TEST_F(AboutDialogTest, ShowsTheProgramsNameVersionLinksAndPictures)
{
    ShowAbout([](TAbout& about) {
        EXPECT_EQ(about.Caption(), "About");
        EXPECT_EQ(about.ClientWidth(), 497);
        EXPECT_EQ(about.ClientHeight(), 385);
        EXPECT_EQ(about.Label3->Caption(), "Tallyglass Viewer");
        EXPECT_EQ(about.Label3->Font().Name(), "Tahoma");
        EXPECT_EQ(about.Label3->Font().Style(), fsBold);
        EXPECT_EQ(about.lblVersion->Caption(), ExpectedVersionCaption());
        EXPECT_EQ(about.lblURL->Caption(), MakerSiteAddress);
        EXPECT_EQ(about.lblURL->URL(), MakerSiteAddress);
        EXPECT_EQ(about.AutoURLLabel1->URL(), MakerSupportAddress);
        EXPECT_EQ(about.AutoURLLabel2->Caption(), "Download Brightward and protect your privacy today!");
        EXPECT_EQ(about.AutoURLLabel2->URL(), MakerDownloadAddress);
        EXPECT_EQ(about.Label17->Caption(), "Web:");
        EXPECT_EQ(about.Label1->Caption(), "Support:");
        EXPECT_EQ(about.Label6->Caption(), "");
        EXPECT_NE(about.Label5->Caption().find("Fernwick Software"), std::string::npos);
        EXPECT_FALSE(about.Label2->Caption().empty());
        EXPECT_EQ(about.btnOK->Caption(), "OK");
        EXPECT_EQ(about.Image1->Picture().Width(), 174);
        EXPECT_EQ(about.Image1->Picture().Height(), 45);
        EXPECT_EQ(about.ImageProgramIcon->Picture().Width(), 64);
        EXPECT_TRUE(about.ImageProgramIcon->Picture().Graphic()->Transparent());

        EXPECT_FALSE(IsWindowEnabled(Application.MainForm()->Handle())) << "the main window takes no input";
        Press(*about.btnOK);
    });
    EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
    EXPECT_TRUE(reports_.empty());
}

TEST_F(AboutDialogTest, EscAndTheCloseBoxCloseItLikeOK)
{
    ShowAbout([](TAbout& about) { PostMessageA(about.btnOK->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    ShowAbout([](TAbout& about) { PostMessageA(about.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
}

TEST_F(AboutDialogTest, EveryShowingMakesANewDialog)
{
    std::vector<HWND> windows;
    for (int i = 0; i < 2; ++i)
        ShowAbout([&](TAbout& about) {
            windows.push_back(about.Handle());
            Press(*about.btnOK);
        });
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_FALSE(IsWindow(windows[0]));
    EXPECT_FALSE(IsWindow(windows[1]));
}

// A system whose font substitutes lack the dialogs' design face.
class AboutWithoutDialogFontAlias : public AboutDialogTest {
protected:
    AboutWithoutDialogFontAlias() : AboutDialogTest(ScratchRegistry::CurrentUser | ScratchRegistry::LocalMachine) {}
};

TEST_F(AboutWithoutDialogFontAlias, TextsFallBackToTheOlderAliasAndTheTitleKeepsItsFace)
{
    ShowAbout([](TAbout& about) {
        EXPECT_EQ(about.Font().Name(), "MS Shell Dlg");
        EXPECT_EQ(about.Label5->Font().Name(), "MS Shell Dlg");
        EXPECT_EQ(about.lblURL->Font().Name(), "MS Shell Dlg") << "a link's own font of the design face";
        EXPECT_EQ(about.Label3->Font().Name(), "Tahoma");
        Press(*about.btnOK);
    });
    EXPECT_EQ(main_->Font().Name(), "MS Shell Dlg") << "the main window falls back too";
}

}  // namespace
