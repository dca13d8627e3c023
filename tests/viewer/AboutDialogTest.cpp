// Help, About on the real main window: the dialog's texts, its ways of
// closing, its pictures, and the main window meanwhile.
#include <windows.h>

#include <functional>
#include <optional>

#include "ViewerFixture.h"
#include "about/frmAbout.h"
#include "support/ExeVersion.h"
#include "support/MakerSite.h"
#include "ui/Image.h"
#include "viewer/Program.h"

namespace {

// Runs a step inside the About box's modal loop, which the menu command enters.
std::function<void()> stepWhileModal;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto step = std::move(stepWhileModal);
    step();
}

class AboutDialogTest : public ViewerTest {
protected:
    explicit AboutDialogTest(unsigned roots = ScratchRegistry::CurrentUser) : ViewerTest(roots) {}

    void SetUp() override
    {
        ViewerTest::SetUp();
        main_ = StartProgram();
        main_->ShowForm();
    }

    // Chooses Help, About and runs the step once the dialog is up; returns
    // when the dialog has closed.
    void ShowAbout(std::function<void(TAbout&)> step)
    {
        int found = 0;
        stepWhileModal = [&, step] {
            TAbout* about = FindAbout();
            ASSERT_NE(about, nullptr);
            ++found;
            step(*about);
        };
        SetTimer(nullptr, 0, 10, RunStep);
        SendMessageA(main_->Handle(), WM_COMMAND, main_->About1->Command(), 0);
        EXPECT_EQ(found, 1) << "the dialog was shown";
        EXPECT_EQ(FindAbout(), nullptr) << "the dialog is freed when it closes";
    }

    TAbout* FindAbout() const
    {
        for (int i = 0; i < main_->ComponentCount(); ++i)
            if (auto* about = dynamic_cast<TAbout*>(main_->Components(i)))
                return about;
        return nullptr;
    }

    static std::string ExpectedVersionCaption()
    {
        const TDateTime linked = GetExeLinkDate(ExePath());
        return "Version 1.00\n\r (" + FormatDateTime("mmmm d, yyyy", linked) + ")";
    }

    ProgramLibraries libraries_;
    TTallyglassViewer* main_ = nullptr;
};

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

// Moves this test program's file away for a while: the running image stays,
// but its file can no longer be mapped.
class ExecutableMovedAway {
public:
    ExecutableMovedAway() : path_(ExePath()), moved_(path_ + ".away")
    {
        renamed_ = MoveFileA(path_.c_str(), moved_.c_str()) != FALSE;
    }
    ~ExecutableMovedAway()
    {
        if (renamed_)
            MoveFileA(moved_.c_str(), path_.c_str());
    }
    ExecutableMovedAway(const ExecutableMovedAway&) = delete;
    ExecutableMovedAway& operator=(const ExecutableMovedAway&) = delete;
    bool Renamed() const { return renamed_; }

private:
    std::string path_, moved_;
    bool renamed_ = false;
};

TEST_F(AboutDialogTest, LinkDateThatCannotBeReadIsReportedAndTheDialogShownAllTheSame)
{
    std::optional<ExecutableMovedAway> away;
    away.emplace();
    if (!away->Renamed())
        GTEST_SKIP() << "this system does not let a running program's file be renamed";
    ShowAbout([&](TAbout& about) {
        away.reset();
        EXPECT_EQ(about.lblVersion->Caption(), "lblVersion");
        Press(*about.btnOK);
    });
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].rfind("System Error.  Code: ", 0), 0u) << reports_[0];
}

}  // namespace
