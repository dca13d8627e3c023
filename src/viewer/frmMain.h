#pragma once
// The main window: hosts the history viewer without a border, carries the
// menu with the maker's web pages and the About command, and ends the
// program when it closes.
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

class TStartMenuHistoryViewer;

class TTallyglassViewer : public TForm {
public:
    explicit TTallyglassViewer(TComponent* owner);
    ~TTallyglassViewer() override;

    TPanel* ContainerPanel;
    TLabel* Label1;
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Close1;
    TMenuItem* Help1;
    TMenuItem* Help2;
    TMenuItem* N1;
    TMenuItem* FernwickSoftwareWebSite1;
    TMenuItem* TallyglassWebSite1;
    TMenuItem* FindoutmoreaboutBrightward1;
    TMenuItem* N2;
    TMenuItem* About1;

    void FormCreate();
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Close1Click();
    void Help2Click();
    void FernwickSoftwareWebSite1Click();
    void TallyglassWebSite1Click();
    void FindoutmoreaboutBrightward1Click();
    void About1Click();
    bool FormShortCut(WPARAM key);

private:
    void CreateDesign();
    void HistoryViewerClose(TForm& sender, TCloseAction& action);

    TStartMenuHistoryViewer* historyViewer_ = nullptr;
};
