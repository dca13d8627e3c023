#pragma once
// The history viewer: the UserAssist entries in a report list, with a date
// filter, a text filter and a progress panel shown while the list fills. The
// entries come from the current user's registry or from a file (a user's hive
// or a registry export). The list sorts by a click on a column's header, and
// copies or saves its rows. The list itself holds everything it shows, each
// row's last-run time kept with the row as its data: the viewer keeps no
// second list of entries.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "history/StartMenuHistory.h"
#include "support/DateTime.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "viewer/FilterRules.h"
#include "viewer/ListSort.h"

class TStartMenuHistoryViewer : public TForm {
public:
    // With a file, the first load reads that file instead of the registry.
    explicit TStartMenuHistoryViewer(TComponent* owner, std::optional<std::string> startFile = std::nullopt);

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
    TPopupMenu* PopupMenu1;
    TMenuItem* Copy1;
    TMenuItem* SelectAll1;
    TMenuItem* N1;
    TMenuItem* SaveAs1;
    TSaveDialog* SaveDialog1;

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Edit1KeyDown(WORD& key);
    void ListView1ColumnClick(int column);
    void ListView1KeyDown(WORD& key);
    void PopupMenu1Popup();
    void Copy1Click();
    void SelectAll1Click();
    void SaveAs1Click();

    // Loads again with the filter of the last load: the date choice with its
    // threshold taken afresh from now, or the text, or all entries; from the
    // file shown, with its transaction logs, or from the registry.
    void Reload();

    // Lists the entries of a file (a hive, read with its transaction logs, or
    // a registry export, told apart by their content) with the filter of the
    // last load; from then on every load reads that file. A file that cannot
    // be read raises an error naming it and why, and nothing changes.
    void OpenFile(const std::string& utf8Path);
    // Lists the current user's registry again, as at start.
    void ShowCurrentUser();
    // The file shown (its full path in UTF-8), or none for the registry.
    const std::optional<std::string>& ShownFile() const { return shownFile_; }
    // What the transaction logs of the hive shown did; empty for other sources.
    const std::string& LogReport() const { return logReport_; }
    // After every load that listed.
    std::function<void()> OnListed;

    // Threshold of the date filter and needle of the text filter, kept
    // between loads.
    TDateTime FilterDate = 0;
    std::string FilterText;

private:
    using TStartItemFilter = bool (TStartMenuHistoryViewer::*)(const TStartItem& item) const;

    void CreateDesign();
    void LoadDateChoice(int choice);
    void LoadText(std::string needle);
    // Loads from another source with the filter of the last load; the source
    // stays the previous one when the load fails.
    void LoadFrom(std::optional<std::string> file);
    // Reads the history afresh and lists the entries the filter accepts, in
    // the order chosen.
    void LoadHistory(TStartItemFilter filter);
    void SortList();
    // Rows of the list as it shows them, read back from the list itself.
    std::vector<TListedRow> ShownRows(const std::vector<int>& listRows) const;
    std::vector<int> AllListRows() const;
    bool AcceptAll(const TStartItem& item) const;
    bool AcceptByDate(const TStartItem& item) const;
    bool AcceptByText(const TStartItem& item) const;

    std::optional<TSortOrder> sortOrder_;
    // The filter of the last load that listed: a date choice or a text needle.
    std::variant<int, std::string> lastLoad_ = dcAll;
    // FilterText in the encoding of the texts of the load under way.
    std::string textNeedle_;
    std::optional<std::string> startFile_;
    std::optional<std::string> shownFile_;
    std::string logReport_;
};
