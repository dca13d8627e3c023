#pragma once
// The real main window, made as the program makes it, with Help, About chosen
// and a step run while the dialog's modal loop is up.
#include <windows.h>

#include <functional>

#include "ViewerFixture.h"
#include "about/frmAbout.h"
#include "support/ExeVersion.h"
#include "viewer/Program.h"

// Runs a step inside the About box's modal loop, which the menu command enters.
inline std::function<void()> stepWhileModal;

inline void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD)
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

    // This test program is linked with the program's release time stamp.
    static std::string ExpectedVersionCaption()
    {
        return "Version 1.00\n\r (" + FormatDateTime("mmmm d, yyyy", EncodeDate(2006, 3, 22)) + ")";
    }

    ProgramLibraries libraries_;
    TTallyglassViewer* main_ = nullptr;
};
