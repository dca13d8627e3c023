#pragma once
// The main window: hosts the history viewer without a border, carries the
// menu with the file commands, the maker's web pages and the About command,
// tells in its title and status bar what the list shows, opens a file
// dropped on it, and ends the program when it closes.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

class TStartMenuHistoryViewer;

class TTallyglassViewer : public TForm {
public:
    // With a file, the list shows that file from the start.
    explicit TTallyglassViewer(TComponent* owner, std::optional<std::string> startFile = std::nullopt);
    ~TTallyglassViewer() override;

    TPanel* ContainerPanel;
    TLabel* Label1;
    TStatusBar* StatusBar1;
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Open1;
    TMenuItem* CurrentUser1;
    TMenuItem* N3;
    TMenuItem* Close1;
    TMenuItem* Help1;
    TMenuItem* Help2;
    TMenuItem* N1;
    TMenuItem* FernwickSoftwareWebSite1;
    TMenuItem* TallyglassWebSite1;
    TMenuItem* FindoutmoreaboutBrightward1;
    TMenuItem* N2;
    TMenuItem* About1;
    TOpenDialog* OpenDialog1;

    void FormCreate();
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Open1Click();
    void CurrentUser1Click();
    void Close1Click();
    void Help2Click();
    void FernwickSoftwareWebSite1Click();
    void TallyglassWebSite1Click();
    void FindoutmoreaboutBrightward1Click();
    void About1Click();
    bool FormShortCut(WPARAM key);
    // Lists a file, as "Open..." does once a file is chosen.
    void OpenFile(const std::string& utf8Path);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateDesign();
    // The title, the status bar and the "Current User" check after a load.
    void ShowListed();
    void FilesDropped(HDROP drop);
    void HistoryViewerClose(TForm& sender, TCloseAction& action);

    TStartMenuHistoryViewer* historyViewer_ = nullptr;
    std::optional<std::string> startFile_;
};
