#include "viewer/frmMain.h"

#include <memory>

#include "about/frmAbout.h"
#include "base/TextEncoding.h"
#include "sources/FolderListing.h"
#include "support/DialogFont.h"
#include "support/MakerSite.h"
#include "support/WebLauncher.h"
#include "ui/Design.h"
#include "ui/ShiftState.h"
#include "viewer/frmStartMenuHistoryViewer.h"

namespace {

constexpr const char* ProgramTitle = "Tallyglass Viewer";

// The status bar's height at 96 pixels per inch, which the window adds below its design.
constexpr int StatusBarHeight = 22;

enum StatusPane { spEntries, spSource, spLogs };

std::string EntriesText(int rows)
{
    return rows == 1 ? "1 entry" : std::to_string(rows) + " entries";
}

}  // namespace

TTallyglassViewer::TTallyglassViewer(TComponent* owner, std::optional<std::string> startFile)
    : TForm(owner, "TTallyglassViewer"), startFile_(std::move(startFile))
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
    SetCaption(ProgramTitle);
    SetPosition(poScreenCenter);

    MainMenu1 = new TMainMenu(*this);
    File1 = new TMenuItem(*MainMenu1, nullptr, "File");
    Open1 = new TMenuItem(*MainMenu1, File1, "Open...");
    Open1->SetShortCutText("Ctrl+O");
    CurrentUser1 = new TMenuItem(*MainMenu1, File1, "Current User");
    N3 = new TMenuItem(*MainMenu1, File1, "-");
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
    Open1->OnClick = [this] { Open1Click(); };
    CurrentUser1->OnClick = [this] { CurrentUser1Click(); };
    Close1->OnClick = [this] { Close1Click(); };
    Help2->OnClick = [this] { Help2Click(); };
    FernwickSoftwareWebSite1->OnClick = [this] { FernwickSoftwareWebSite1Click(); };
    TallyglassWebSite1->OnClick = [this] { TallyglassWebSite1Click(); };
    FindoutmoreaboutBrightward1->OnClick = [this] { FindoutmoreaboutBrightward1Click(); };
    About1->OnClick = [this] { About1Click(); };
    SetMenu(MainMenu1);
    SetClientSize(1113, 521 + StatusBarHeight);

    ContainerPanel = Place<TPanel>(this, this, {0, 0, 1113, 497}, akLeft | akTop | akRight | akBottom);

    // A promotional line only: clicking it does nothing.
    Label1 = Place<TLabel>(this, this, {8, 500, 480, 13}, akLeft | akBottom);
    Label1->Font().SetColor(clBlue);
    Label1->Font().SetStyle(fsUnderline);
    Label1->SetCursor(crHandPoint);
    Label1->SetCaption("Want to clean the Tallyglass? Download Brightward and protect your privacy today!");

    StatusBar1 = Place<TStatusBar>(this, this, {0, 521, 1113, StatusBarHeight});
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetPaneEdges({100, 560});

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "Registry hives (NTUSER.DAT, *.dat, *.hve)|NTUSER.DAT;*.dat;*.hve|"
                          "Registry exports (*.reg)|*.reg|All files (*.*)|*.*";
    DragAcceptFiles(Handle(), TRUE);
}

void TTallyglassViewer::FormCreate()
{
    ApplyDialogFont(*this);
    auto* viewer = historyViewer_ =
        new TStartMenuHistoryViewer(this, startFile_ ? std::optional(AbsolutePath(*startFile_)) : std::nullopt);
    ShowListed();
    viewer->OnListed = [this] { ShowListed(); };
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
    if (!historyViewer_)
        return false;
    const auto shift = KeyboardShiftState();
    if (key == VK_F5 && shift == 0) {
        historyViewer_->Reload();
        return true;
    }
    if (key == 'O' && shift == ssCtrl) {
        Open1Click();
        return true;
    }
    return false;
}

void TTallyglassViewer::ShowListed()
{
    const std::optional<std::string>& file = historyViewer_->ShownFile();
    SetUnicodeCaption(file ? std::string(ProgramTitle) + " - " + NameOf(*file) : ProgramTitle);
    CurrentUser1->SetChecked(!file);
    StatusBar1->SetPaneText(spEntries, EntriesText(historyViewer_->ListView1->RowCount()));
    StatusBar1->SetPaneText(spSource, file ? *file : "Current user");
    StatusBar1->SetPaneText(spLogs, historyViewer_->LogReport());
}

void TTallyglassViewer::OpenFile(const std::string& utf8Path)
{
    historyViewer_->OpenFile(AbsolutePath(utf8Path));
}

void TTallyglassViewer::Open1Click()
{
    if (OpenDialog1->Execute())
        OpenFile(OpenDialog1->FileName);
}

void TTallyglassViewer::CurrentUser1Click()
{
    historyViewer_->ShowCurrentUser();
}

LRESULT TTallyglassViewer::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES) {
        FilesDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return TForm::WndProc(message, wParam, lParam);
}

// The first of the files dropped is opened; the list shows one source.
void TTallyglassViewer::FilesDropped(HDROP drop)
{
    std::u16string name(DragQueryFileW(drop, 0, nullptr, 0), u'\0');
    DragQueryFileW(drop, 0, reinterpret_cast<wchar_t*>(name.data()), static_cast<UINT>(name.size() + 1));
    DragFinish(drop);
    if (!name.empty())
        OpenFile(Utf16ToUtf8(name));
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
