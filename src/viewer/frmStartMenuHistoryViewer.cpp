#include "viewer/frmStartMenuHistoryViewer.h"

#include <memory>

#include "base/ScopeExit.h"
#include "support/DialogFont.h"
#include "ui/Design.h"
#include "viewer/FilterRules.h"

namespace {

constexpr int kProgressStep = 100;

}  // namespace

TStartMenuHistoryViewer::TStartMenuHistoryViewer(TComponent* owner) : TForm(owner, "TStartMenuHistoryViewer")
{
    CreateDesign();
    OnCreate = [this](TForm&) { FormCreate(); };
    DoCreate();
}

void TStartMenuHistoryViewer::CreateDesign()
{
    SetCaption("Start Menu History Viewer");
    SetClientSize(753, 537);
    SetPosition(poOwnerFormCenter);

    PanelTop = Place<TPanel>(this, this, {0, 0, 753, 41});
    PanelTop->SetColor(clWhite);
    PanelTop->SetAlign(alTop);

    Label1 = Place<TLabel>(this, PanelTop, {16, 12, 0, 0});
    Label1->SetCaption("Filter By Date:");
    ComboBox1 = Place<TComboBox>(this, PanelTop, {96, 8, 145, 21});
    for (const char* item : {"Show All Entries", "Today", "Last 3 Days", "Last 7 Days", "This Month", "This Year"})
        ComboBox1->AddItem(item);
    ComboBox1->SetItemIndex(0);
    Button2 = Place<TButton>(this, PanelTop, {248, 6, 65, 25});
    Button2->SetCaption("Show");
    Button2->OnClick = [this] { Button2Click(); };
    Label2 = Place<TLabel>(this, PanelTop, {352, 12, 0, 0});
    Label2->SetCaption("Filter By Text:");
    Edit1 = Place<TEdit>(this, PanelTop, {432, 8, 121, 21});
    Button3 = Place<TButton>(this, PanelTop, {560, 6, 65, 25});
    Button3->SetCaption("Show");
    Button3->OnClick = [this] { Button3Click(); };
    Bevel1 = Place<TBevel>(this, PanelTop, {0, 32, 753, 9});
    Bevel1->SetShape(bsBottomLine);
    Bevel1->SetAlign(alBottom);

    ListView1 = Place<TListView>(this, this, {8, 48, 737, 449}, akLeft | akTop | akRight | akBottom);
    ListView1->AddColumn("Count", 50, taLeftJustify);
    ListView1->AddColumn("File Name", 300, taLeftJustify);
    ListView1->AddColumn("Type", 100, taLeftJustify);
    ListView1->AddColumn("Exec Count", 80, taRightJustify);
    ListView1->AddColumn("Last Executed", 170, taLeftJustify);

    // Lies over the list while it fills.
    PanelReading = Place<TPanel>(this, this, {18, 128, 717, 57});
    PanelReading->SetColor(clWindow);
    Label5 = Place<TLabel>(this, PanelReading, {0, 0, 717, 13});
    Label5->SetAutoSize(false);
    Label5->SetAlignment(taCenter);
    Label5->SetAlign(alTop);
    Label5->SetCaption("Loading Start Menu History contents. Please wait...");
    ProgressBar1 = Place<TProgressBar>(this, PanelReading, {16, 24, 689, 17}, akLeft | akTop | akRight);
    ProgressBar1->SetRange(0, 100);
    ProgressBar1->SetPosition(0);

    Button1 = Place<TButton>(this, this, {672, 504, 75, 25}, akRight | akBottom);
    Button1->SetCaption("Close");
    Button1->SetModalResult(mrOk);
    Button1->OnClick = [this] { Button1Click(); };

    ListView1->SetTabOrder(0);
    PanelReading->SetTabOrder(1);
    PanelTop->SetTabOrder(2);
    Button1->SetTabOrder(3);
    ComboBox1->SetTabOrder(0);
    Button2->SetTabOrder(1);
    Edit1->SetTabOrder(2);
    Button3->SetTabOrder(3);
}

void TStartMenuHistoryViewer::FormCreate()
{
    ApplyDialogFont(*this);
    ComboBox1->SetItemIndex(0);
    Button2Click();
}

void TStartMenuHistoryViewer::Button1Click()
{
    Close();
}

void TStartMenuHistoryViewer::Button2Click()
{
    const int choice = ComboBox1->ItemIndex();
    if (choice == dcAll) {
        LoadHistory(&TStartMenuHistoryViewer::AcceptAll);
    } else if (const auto threshold = DateFilterThreshold(choice, Now())) {
        FilterDate = *threshold;
        LoadHistory(&TStartMenuHistoryViewer::AcceptByDate);
    }
}

void TStartMenuHistoryViewer::Button3Click()
{
    FilterText = NormalizeFilterText(Edit1->Text());
    if (!FilterText.empty())
        LoadHistory(&TStartMenuHistoryViewer::AcceptByText);
}

void TStartMenuHistoryViewer::LoadHistory(TStartItemFilter filter)
{
    auto history = std::make_unique<TStartHistory>();
    bool updating = false;
    const ScopeExit finish([&] {
        if (updating)
            ListView1->EndUpdate();
        history.reset();
        PanelReading->Hide();
    });

    // The registry is read before the panel shows and before any row goes,
    // so a read error leaves the previous rows in place.
    history->ReadHistory();
    ListView1->BeginUpdate();
    updating = true;
    PanelReading->Show();
    UpdateWindow(PanelReading->Handle());
    ListView1->Clear();

    const int count = history->Count();
    ProgressBar1->SetPosition(0);
    if (count > 0)
        ProgressBar1->SetRange(ProgressBar1->Min(), count - 1);

    int listed = 0;
    TStartItem item;
    for (int i = 0; i < count; ++i) {
        if (i % kProgressStep == 0)
            ProgressBar1->SetPosition(i);
        history->GetItem(i, item);
        if ((this->*filter)(item)) {
            ++listed;
            ListView1->AddRow(std::to_string(listed), {item.FileName, StartItemTypeToStr(item.ItemType),
                                                        std::to_string(item.ExecCount), item.LastExecutedText});
        }
    }
}

bool TStartMenuHistoryViewer::AcceptAll(const TStartItem&) const
{
    return true;
}

bool TStartMenuHistoryViewer::AcceptByDate(const TStartItem& item) const
{
    return item.LastExecuted > FilterDate;
}

bool TStartMenuHistoryViewer::AcceptByText(const TStartItem& item) const
{
    return FileNameMatches(item.FileName, FilterText);
}
