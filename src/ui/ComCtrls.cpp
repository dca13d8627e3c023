#include "ui/ComCtrls.h"

#include <commctrl.h>

#include <vector>

#include "base/ScopeExit.h"
#include "base/TextEncoding.h"

TListView::TListView(TComponent* owner) : TControl(owner)
{
    SetTabStop(true);
}

void TListView::FillCreateParams(CreateParams& params)
{
    params.ClassName = WC_LISTVIEWA;
    params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::HandleCreated()
{
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void TListView::AddColumn(const std::string& caption, int width, TAlignment alignment)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = alignment == taRightJustify ? LVCFMT_RIGHT : alignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(caption.c_str());
    column.iSubItem = columnCount_;
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(columnCount_), reinterpret_cast<LPARAM>(&column));
    ++columnCount_;
}

void TListView::BeginUpdate()
{
    if (updateDepth_++ == 0)
        SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TListView::Clear()
{
    SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

namespace {

// The control's 8-bit and wide messages, for texts of either kind.
template <typename Text>
struct ListViewText;

template <>
struct ListViewText<std::string> {
    using Item = LVITEMA;
    using Char = char;
    static constexpr UINT InsertItem = LVM_INSERTITEMA;
    static constexpr UINT SetItemText = LVM_SETITEMTEXTA;
    static constexpr UINT GetItemText = LVM_GETITEMTEXTA;
};

template <>
struct ListViewText<std::u16string> {
    using Item = LVITEMW;
    using Char = wchar_t;
    static constexpr UINT InsertItem = LVM_INSERTITEMW;
    static constexpr UINT SetItemText = LVM_SETITEMTEXTW;
    static constexpr UINT GetItemText = LVM_GETITEMTEXTW;
};

}  // namespace

template <typename Text>
void TListView::InsertRow(std::span<const Text> cells, LPARAM data)
{
    using Messages = ListViewText<Text>;
    using Char = typename Messages::Char;
    // The control wants terminated strings, which every std string holds.
    const Text noCaption;
    typename Messages::Item item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<Char*>(reinterpret_cast<const Char*>((cells.empty() ? noCaption : cells[0]).c_str()));
    item.lParam = data;
    const int row = static_cast<int>(SendMessageA(Handle(), Messages::InsertItem, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t column = 1; column < cells.size(); ++column) {
        if (cells[column].empty())  // a new row's further cells are empty already
            continue;
        typename Messages::Item sub{};
        sub.iSubItem = static_cast<int>(column);
        sub.pszText = const_cast<Char*>(reinterpret_cast<const Char*>(cells[column].c_str()));
        SendMessageA(Handle(), Messages::SetItemText, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
}

void TListView::AddRow(std::span<const std::string> cells, LPARAM data)
{
    InsertRow(cells, data);
}

void TListView::AddRow(std::span<const std::u16string> cells, LPARAM data)
{
    InsertRow(cells, data);
}

int TListView::RowCount() const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

template <typename Text>
Text TListView::TextOfCell(int row, int column) const
{
    using Messages = ListViewText<Text>;
    using Char = typename Messages::Char;
    // The control copies at most the buffer's size: grow until the text fits.
    std::vector<Char> buffer(256);
    for (;;) {
        typename Messages::Item item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(
            SendMessageA(Handle(), Messages::GetItemText, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size())
            return Text(reinterpret_cast<const typename Text::value_type*>(buffer.data()), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string TListView::CellText(int row, int column) const
{
    return TextOfCell<std::string>(row, column);
}

std::u16string TListView::UnicodeCellText(int row, int column) const
{
    return TextOfCell<std::u16string>(row, column);
}

LPARAM TListView::RowData(int row) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void TListView::SetRowData(int row, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::SortRows(const TRowCompare& compare)
{
    const PFNLVCOMPARE callback = [](LPARAM a, LPARAM b, LPARAM sort) -> int {
        return (*reinterpret_cast<const TRowCompare*>(sort))(a, b);
    };
    SendMessageA(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(callback));
}

void TListView::SetSortArrow(int column, bool descending)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
    for (int i = 0; i < columnCount_; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column)
            item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void TListView::SelectAll()
{
    BeginUpdate();
    const ScopeExit update([this] { EndUpdate(); });
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

int TListView::SelectedCount() const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

std::vector<int> TListView::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0)
            return rows;
        rows.push_back(row);
    }
}

bool TListView::Notify(NMHDR& header, LRESULT& result)
{
    if (header.code != LVN_COLUMNCLICK || !OnColumnClick)
        return false;
    OnColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
    result = 0;
    return true;
}

POINT TListView::KeyboardContextMenuPoint() const
{
    const auto focused = SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    RECT row{};
    row.left = LVIR_LABEL;
    RECT client{};
    GetClientRect(Handle(), &client);
    const bool placed = focused >= 0 && SendMessageA(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                                     reinterpret_cast<LPARAM>(&row));
    if (placed && row.bottom > client.top && row.bottom < client.bottom)
        return {row.left, row.bottom};
    return TControl::KeyboardContextMenuPoint();
}

void TListView::ChangeScale(int multiplier, int divider)
{
    TControl::ChangeScale(multiplier, divider);
    for (int column = 0; column < columnCount_; ++column) {
        const auto width = static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, column, MulDiv(width, multiplier, divider));
    }
}

TProgressBar::TProgressBar(TComponent* owner) : TControl(owner) {}

void TProgressBar::FillCreateParams(CreateParams& params)
{
    params.ClassName = PROGRESS_CLASSA;
}

void TProgressBar::SetRange(int minimum, int maximum)
{
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void TProgressBar::SetPosition(int position)
{
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TProgressBar::Position() const
{
    return static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

int TProgressBar::Min() const
{
    return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, TRUE, 0));
}

int TProgressBar::Max() const
{
    return static_cast<int>(SendMessageA(Handle(), PBM_GETRANGE, FALSE, 0));
}

TStatusBar::TStatusBar(TComponent* owner) : TControl(owner) {}

void TStatusBar::FillCreateParams(CreateParams& params)
{
    params.ClassName = STATUSCLASSNAMEA;
    // The toolkit places it (aligned to the bottom), not the control itself.
    params.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
}

void TStatusBar::SetPaneEdges(std::vector<int> edges)
{
    edges_ = std::move(edges);
    ApplyPaneEdges();
}

void TStatusBar::ApplyPaneEdges()
{
    std::vector<int> parts = edges_;
    parts.push_back(-1);
    SendMessageA(Handle(), SB_SETPARTS, parts.size(), reinterpret_cast<LPARAM>(parts.data()));
}

void TStatusBar::SetPaneText(int pane, const std::string& text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string TStatusBar::PaneText(int pane) const
{
    const auto length = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
    std::u16string text(length + 1u, u'\0');
    SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return Utf16ToUtf8(text);
}

void TStatusBar::ChangeScale(int multiplier, int divider)
{
    TControl::ChangeScale(multiplier, divider);
    for (int& edge : edges_)
        edge = MulDiv(edge, multiplier, divider);
    ApplyPaneEdges();
}
