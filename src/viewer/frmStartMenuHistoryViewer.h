#pragma once
// The history viewer: the UserAssist entries in a report list, with a date
// filter, a text filter and a progress panel shown while the list fills.
#include <string>

#include "history/StartMenuHistory.h"
#include "support/DateTime.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TStartMenuHistoryViewer : public TForm {
public:
    explicit TStartMenuHistoryViewer(TComponent* owner);

    TPanel* PanelTop;
    TLabel* Label1;
    TComboBox* ComboBox1;
    TButton* Button2;
    TLabel* Label2;
    TEdit* Edit1;
    TButton* Button3;
    TBevel* Bevel1;
    TListView* ListView1;
    TPanel* PanelReading;
    TLabel* Label5;
    TProgressBar* ProgressBar1;
    TButton* Button1;

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    // Threshold of the date filter and needle of the text filter, kept
    // between loads.
    TDateTime FilterDate = 0;
    std::string FilterText;

private:
    using TStartItemFilter = bool (TStartMenuHistoryViewer::*)(const TStartItem& item) const;

    void CreateDesign();
    // Reads the history afresh and lists the entries the filter accepts.
    void LoadHistory(TStartItemFilter filter);
    bool AcceptAll(const TStartItem& item) const;
    bool AcceptByDate(const TStartItem& item) const;
    bool AcceptByText(const TStartItem& item) const;
};
