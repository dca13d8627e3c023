#include "viewer/frmMain.h"

#include <memory>

#include "about/frmAbout.h"
#include "support/DialogFont.h"
#include "support/MakerSite.h"
#include "support/WebLauncher.h"
#include "ui/Design.h"
#include "ui/ShiftState.h"
#include "viewer/frmStartMenuHistoryViewer.h"

TTallyglassViewer::TTallyglassViewer(TComponent* owner) : TForm(owner, "TTallyglassViewer")
{
    CreateDesign();
    OnCreate = [this](TForm&) { FormCreate(); };
    OnClose = [this](TForm&, TCloseAction& action) { FormClose(action); };
    OnDestroy = [this](TForm&) { FormDestroy(); };
    OnShortCut = [this](WPARAM key) { return FormShortCut(key); };
    DoCreate();
}

TTallyglassViewer::~TTallyglassViewer()
{
    DoDestroy();
}

void TTallyglassViewer::CreateDesign()
{
    SetCaption("Tallyglass Viewer");
    SetPosition(poScreenCenter);

    MainMenu1 = new TMainMenu(*this);
    File1 = new TMenuItem(*MainMenu1, nullptr, "File");
    Close1 = new TMenuItem(*MainMenu1, File1, "Close");
    Help1 = new TMenuItem(*MainMenu1, nullptr, "Help");
    Help2 = new TMenuItem(*MainMenu1, Help1, "Help");
    N1 = new TMenuItem(*MainMenu1, Help1, "-");
    FernwickSoftwareWebSite1 = new TMenuItem(*MainMenu1, Help1, "Fernwick Software Web Site");
    TallyglassWebSite1 = new TMenuItem(*MainMenu1, Help1, "Tallyglass Web Site");
    FindoutmoreaboutBrightward1 = new TMenuItem(*MainMenu1, Help1, "Find out more about Brightward");
    N2 = new TMenuItem(*MainMenu1, Help1, "-");
    About1 = new TMenuItem(*MainMenu1, Help1, "About");
    Help2->SetVisible(false);
    N1->SetVisible(false);
    Close1->OnClick = [this] { Close1Click(); };
    Help2->OnClick = [this] { Help2Click(); };
    FernwickSoftwareWebSite1->OnClick = [this] { FernwickSoftwareWebSite1Click(); };
    TallyglassWebSite1->OnClick = [this] { TallyglassWebSite1Click(); };
    FindoutmoreaboutBrightward1->OnClick = [this] { FindoutmoreaboutBrightward1Click(); };
    About1->OnClick = [this] { About1Click(); };
    SetMenu(MainMenu1);
    SetClientSize(753, 521);

    ContainerPanel = Place<TPanel>(this, this, {0, 0, 753, 497}, akLeft | akTop | akRight | akBottom);

    // A promotional line only: clicking it does nothing.
    Label1 = Place<TLabel>(this, this, {8, 500, 480, 13}, akLeft | akBottom);
    Label1->Font().SetColor(clBlue);
    Label1->Font().SetStyle(fsUnderline);
    Label1->SetCursor(crHandPoint);
    Label1->SetCaption("Want to clean the Tallyglass? Download Brightward and protect your privacy today!");
}

void TTallyglassViewer::FormCreate()
{
    ApplyDialogFont(*this);
    auto* viewer = historyViewer_ = new TStartMenuHistoryViewer(this);
    viewer->OnClose = [this](TForm& sender, TCloseAction& action) { HistoryViewerClose(sender, action); };
    viewer->Hide();
    viewer->SetBorderStyle(bsNone);
    viewer->SetParent(ContainerPanel);
    viewer->SetAlign(alClient);
    viewer->Show();
    viewer->BringToFront();
}

bool TTallyglassViewer::FormShortCut(WPARAM key)
{
    if (key != VK_F5 || KeyboardShiftState() != 0 || !historyViewer_)
        return false;
    historyViewer_->Reload();
    return true;
}

void TTallyglassViewer::HistoryViewerClose(TForm&, TCloseAction&)
{
    Close();
}

void TTallyglassViewer::FormClose(TCloseAction&) {}

void TTallyglassViewer::FormDestroy() {}

void TTallyglassViewer::Close1Click()
{
    Close();
}

void TTallyglassViewer::Help2Click() {}

void TTallyglassViewer::FernwickSoftwareWebSite1Click()
{
    OpenWebPage(MakerSiteAddress);
}

void TTallyglassViewer::TallyglassWebSite1Click()
{
    OpenWebPage(TallyglassPageAddress);
}

void TTallyglassViewer::FindoutmoreaboutBrightward1Click()
{
    OpenWebPage(BrightwardPageAddress);
}

void TTallyglassViewer::About1Click()
{
    // A new dialog for every showing, freed however the showing ends.
    const std::unique_ptr<TAbout> about(new TAbout(this));
    about->ShowModal();
}
