#include "ui/ComCtrls.h"

#include <commctrl.h>

#include <vector>

#include "base/ScopeExit.h"

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

void TListView::AddRow(const std::string& caption, std::initializer_list<std::string_view> cells, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(caption.c_str());
    item.lParam = data;
    const int row = static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    std::string text;
    int column = 1;
    for (std::string_view cell : cells) {
        text.assign(cell);  // the control wants a terminated string
        LVITEMA sub{};
        sub.iSubItem = column++;
        sub.pszText = text.data();
        SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
}

int TListView::RowCount() const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string TListView::CellText(int row, int column) const
{
    // The control copies at most the buffer's size: grow until the text fits.
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(
            SendMessageA(Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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
