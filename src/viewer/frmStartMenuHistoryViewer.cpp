#include "viewer/frmStartMenuHistoryViewer.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <numeric>

#include "base/ScopeExit.h"
#include "base/TextEncoding.h"
#include "support/DialogFont.h"
#include "support/FileReplace.h"
#include "ui/Application.h"
#include "ui/Clipboard.h"
#include "ui/Design.h"
#include "ui/ShiftState.h"
#include "viewer/ListText.h"
#include "viewer/LoadedEntries.h"

namespace {

constexpr int kProgressStep = 100;

// Spreadsheet programs take a file that starts with this mark for UTF-8.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The list keeps each row's last-run time with the row, as the value's bits.
LPARAM TimeData(TDateTime time)
{
    return std::bit_cast<LPARAM>(time);
}

TDateTime TimeOfData(LPARAM data)
{
    return std::bit_cast<TDateTime>(data);
}

// The UTF-16 form of a UTF-8 text, into a buffer kept for the next call.
std::wstring_view Utf16Of(std::string_view utf8, std::wstring& buffer)
{
    const int size = static_cast<int>(utf8.size());
    buffer.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, buffer.data(), static_cast<int>(buffer.size()));
    return buffer;
}

// Texts (read back from the list in UTF-8) compared as the user's locale
// sorts them, ignoring case.
int CompareInUserLocale(std::string_view a, std::string_view b)
{
    static std::wstring first, second;
    const std::wstring_view x = Utf16Of(a, first);
    const std::wstring_view y = Utf16Of(b, second);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(), static_cast<int>(x.size()), y.data(),
                          static_cast<int>(y.size())) -
           CSTR_EQUAL;
}

}  // namespace

TStartMenuHistoryViewer::TStartMenuHistoryViewer(TComponent* owner, std::optional<std::string> startFile)
    : TForm(owner, "TStartMenuHistoryViewer"), startFile_(std::move(startFile))
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
    Edit1->OnKeyDown = [this](TControl&, WORD& key) { Edit1KeyDown(key); };
    Bevel1 = Place<TBevel>(this, PanelTop, {0, 32, 753, 9});
    Bevel1->SetShape(bsBottomLine);
    Bevel1->SetAlign(alBottom);

    ListView1 = Place<TListView>(this, this, {8, 48, 737, 449}, akLeft | akTop | akRight | akBottom);
    ListView1->AddColumn(ListColumnTitles[lcCount], 50, taLeftJustify);
    ListView1->AddColumn(ListColumnTitles[lcFileName], 300, taLeftJustify);
    ListView1->AddColumn(ListColumnTitles[lcType], 100, taLeftJustify);
    ListView1->AddColumn(ListColumnTitles[lcExecCount], 80, taRightJustify);
    ListView1->AddColumn(ListColumnTitles[lcFocusCount], 80, taRightJustify);
    ListView1->AddColumn(ListColumnTitles[lcFocusTime], 80, taRightJustify);
    ListView1->AddColumn(ListColumnTitles[lcLastExecuted], 170, taLeftJustify);
    ListView1->AddColumn(ListColumnTitles[lcNote], 200, taLeftJustify);
    ListView1->OnColumnClick = [this](int column) { ListView1ColumnClick(column); };
    ListView1->OnKeyDown = [this](TControl&, WORD& key) { ListView1KeyDown(key); };

    PopupMenu1 = new TPopupMenu(this);
    Copy1 = new TMenuItem(*PopupMenu1, nullptr, "Copy");
    SelectAll1 = new TMenuItem(*PopupMenu1, nullptr, "Select All");
    N1 = new TMenuItem(*PopupMenu1, nullptr, "-");
    SaveAs1 = new TMenuItem(*PopupMenu1, nullptr, "Save As...");
    PopupMenu1->OnPopup = [this] { PopupMenu1Popup(); };
    Copy1->OnClick = [this] { Copy1Click(); };
    SelectAll1->OnClick = [this] { SelectAll1Click(); };
    SaveAs1->OnClick = [this] { SaveAs1Click(); };
    ListView1->SetPopupMenu(PopupMenu1);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->FileName = "UserAssist.csv";
    SaveDialog1->Filter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";
    SaveDialog1->DefaultExt = "csv";

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
    // A file named at start that cannot be read is reported, and the
    // registry listed in its place.
    if (startFile_) {
        try {
            OpenFile(*startFile_);
            return;
        } catch (const Exception& error) {
            Application.HandleException(error);
        }
    }
    Button2Click();
}

void TStartMenuHistoryViewer::Button1Click()
{
    Close();
}

void TStartMenuHistoryViewer::Button2Click()
{
    LoadDateChoice(ComboBox1->ItemIndex());
}

void TStartMenuHistoryViewer::Button3Click()
{
    FilterText = NormalizeFilterText(Edit1->Text());
    if (!FilterText.empty())
        LoadText(FilterText);
}

void TStartMenuHistoryViewer::Reload()
{
    if (const int* choice = std::get_if<int>(&lastLoad_))
        LoadDateChoice(*choice);
    else
        LoadText(std::get<std::string>(lastLoad_));
}

void TStartMenuHistoryViewer::OpenFile(const std::string& utf8Path)
{
    LoadFrom(utf8Path);
}

void TStartMenuHistoryViewer::ShowCurrentUser()
{
    LoadFrom(std::nullopt);
}

void TStartMenuHistoryViewer::LoadFrom(std::optional<std::string> file)
{
    std::optional<std::string> previous = std::exchange(shownFile_, std::move(file));
    try {
        Reload();
    } catch (...) {
        shownFile_ = std::move(previous);
        throw;
    }
}

void TStartMenuHistoryViewer::LoadDateChoice(int choice)
{
    if (choice == dcAll) {
        LoadHistory(&TStartMenuHistoryViewer::AcceptAll);
    } else if (const auto threshold = DateFilterThreshold(choice, Now())) {
        FilterDate = *threshold;
        LoadHistory(&TStartMenuHistoryViewer::AcceptByDate);
    } else {
        return;
    }
    lastLoad_ = choice;
}

void TStartMenuHistoryViewer::LoadText(std::string needle)
{
    FilterText = needle;
    LoadHistory(&TStartMenuHistoryViewer::AcceptByText);
    lastLoad_ = std::move(needle);
}

void TStartMenuHistoryViewer::Edit1KeyDown(WORD& key)
{
    if (key == VK_RETURN && KeyboardShiftState() == 0) {
        key = 0;
        Button3Click();
    }
}

void TStartMenuHistoryViewer::LoadHistory(TStartItemFilter filter)
{
    std::unique_ptr<TLoadedEntries> entries;
    bool updating = false;
    const ScopeExit finish([&] {
        if (updating)
            ListView1->EndUpdate();
        entries.reset();
        PanelReading->Hide();
    });

    // The source is read before the panel shows and before any row goes,
    // so a read error leaves the previous rows in place.
    entries = std::make_unique<TLoadedEntries>(shownFile_);
    // A file's names are UTF-8, and so must the needle be.
    textNeedle_ = entries->Utf8() ? AnsiToUtf8(FilterText) : FilterText;
    ListView1->BeginUpdate();
    updating = true;
    PanelReading->Show();
    UpdateWindow(PanelReading->Handle());
    ListView1->Clear();

    const int count = entries->Count();
    ProgressBar1->SetPosition(0);
    if (count > 0)
        ProgressBar1->SetRange(ProgressBar1->Min(), count - 1);

    int listed = 0;
    TStartItem item;
    std::array<std::u16string, ListColumnCount> wide;
    for (int i = 0; i < count; ++i) {
        if (i % kProgressStep == 0)
            ProgressBar1->SetPosition(i);
        entries->GetItem(i, item);
        if (!(this->*filter)(item))
            continue;
        const TListedCells cells = ListedRowCells(ListedRowOf(++listed, item));
        // The registry's rows go in as the 8-bit calls gave them, a file's as UTF-16.
        if (entries->Utf8()) {
            std::transform(cells.begin(), cells.end(), wide.begin(), Utf8ToUtf16);
            ListView1->AddRow(wide, TimeData(item.LastExecuted));
        } else {
            ListView1->AddRow(cells, TimeData(item.LastExecuted));
        }
    }
    if (sortOrder_)
        SortList();
    logReport_ = entries->LogReport();
    if (OnListed)
        OnListed();
}

void TStartMenuHistoryViewer::SortList()
{
    // Ties keep the read order, so the rows go to the sort in read order (by
    // their numbers), whatever order the list shows now.
    const std::vector<TListedRow> shown = ShownRows(AllListRows());
    std::vector<std::size_t> positions(shown.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    std::sort(positions.begin(), positions.end(),
              [&](std::size_t a, std::size_t b) { return shown[a].Number < shown[b].Number; });
    std::vector<TListedRow> inReadOrder;
    inReadOrder.reserve(shown.size());
    for (const std::size_t position : positions)
        inReadOrder.push_back(shown[position]);
    const std::vector<std::size_t> order = SortedRowOrder(inReadOrder, *sortOrder_, CompareInUserLocale);

    // The list sorts its rows by their data, with selection and focus: each
    // row's data becomes its rank for the sort, then its time again.
    for (std::size_t rank = 0; rank < order.size(); ++rank)
        ListView1->SetRowData(static_cast<int>(positions[order[rank]]), static_cast<LPARAM>(rank));
    ListView1->SortRows([](LPARAM a, LPARAM b) { return a < b ? -1 : a > b ? 1 : 0; });
    for (std::size_t rank = 0; rank < order.size(); ++rank)
        ListView1->SetRowData(static_cast<int>(rank), TimeData(inReadOrder[order[rank]].LastExecuted));
    ListView1->SetSortArrow(sortOrder_->Column, sortOrder_->Descending);
}

void TStartMenuHistoryViewer::ListView1ColumnClick(int column)
{
    sortOrder_ = NextSortOrder(sortOrder_, static_cast<TListColumn>(column));
    SortList();
}

void TStartMenuHistoryViewer::ListView1KeyDown(WORD& key)
{
    if (KeyboardShiftState() != ssCtrl)
        return;
    if (key == 'A') {
        key = 0;
        SelectAll1Click();
    } else if (key == 'C') {
        key = 0;
        Copy1Click();
    }
}

void TStartMenuHistoryViewer::PopupMenu1Popup()
{
    Copy1->SetEnabled(ListView1->SelectedCount() > 0);
}

void TStartMenuHistoryViewer::Copy1Click()
{
    const std::vector<int> selected = ListView1->SelectedRows();
    if (!selected.empty())
        SetClipboardText(ListView1->Handle(), TabSeparatedText(ShownRows(selected)));
}

void TStartMenuHistoryViewer::SelectAll1Click()
{
    ListView1->SelectAll();
}

void TStartMenuHistoryViewer::SaveAs1Click()
{
    if (SaveDialog1->Execute())
        ReplaceFileContents(SaveDialog1->FileName, std::string(kUtf8ByteOrderMark) + CsvText(ShownRows(AllListRows())));
}

std::vector<int> TStartMenuHistoryViewer::AllListRows() const
{
    std::vector<int> rows(static_cast<std::size_t>(ListView1->RowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

std::vector<TListedRow> TStartMenuHistoryViewer::ShownRows(const std::vector<int>& listRows) const
{
    std::vector<TListedRow> rows;
    rows.reserve(listRows.size());
    TListedCells cells;
    for (const int row : listRows) {
        for (std::size_t column = 0; column < cells.size(); ++column)
            cells[column] = Utf16ToUtf8(ListView1->UnicodeCellText(row, static_cast<int>(column)));
        rows.push_back(ListedRowFromCells(cells, TimeOfData(ListView1->RowData(row))));
    }
    return rows;
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
    return FileNameMatches(item.FileName, textNeedle_);
}
