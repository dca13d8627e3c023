#include "ui/StdCtrls.h"

#include "base/GdiObjects.h"
#include "ui/LabelText.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {}

void TCustomLabel::FillCreateParams(CreateParams& params)
{
    // Drawn by the label itself, with the same text flags it measures with,
    // so an auto-sized label always fits its text.
    params.ClassName = OwnWindowClass("TLabel");
    params.OwnClass = true;
}

LRESULT TCustomLabel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted whole, with the text
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        EndPaint(Handle(), &paint);
        return 0;
    }
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}

void TCustomLabel::Paint(HDC dc)
{
    // Composed off-screen, then copied: no flicker while the text changes.
    RECT client{};
    GetClientRect(Handle(), &client);
    const BitmapDC memory(CreateMemoryDC(dc),
                          GdiObject<HBITMAP>(CreateCompatibleBitmap(dc, client.right, client.bottom)));
    if (!memory.Valid())
        return;
    FillRect(memory.DC(), &client, BackgroundBrush());
    {
        const SelectedObject font(memory.DC(), Font().Handle());
        SetTextColor(memory.DC(), ColorToRGB(Font().Color()));
        SetBkMode(memory.DC(), TRANSPARENT);
        DrawLabelText(memory.DC(), Caption(), client, alignment_, wordWrap_);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.DC(), 0, 0, SRCCOPY);
}

void TCustomLabel::SetCaption(const std::string& caption)
{
    const bool changed = caption != Caption();
    TControl::SetCaption(caption);
    if (changed)
        TextChanged();
}

void TCustomLabel::TextChanged()
{
    AdjustSize();
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TCustomLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    AdjustSize();
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomLabel::FontChanged()
{
    TControl::FontChanged();
    AdjustSize();
}

void TCustomLabel::MouseDown(TMouseButton button, int x, int y)
{
    if (button == mbLeft) {
        leftPressed_ = true;
        SetCapture(Handle());
    }
    TControl::MouseDown(button, x, y);
}

void TCustomLabel::MouseUp(TMouseButton button, int x, int y)
{
    TControl::MouseUp(button, x, y);
    if (button != mbLeft || !leftPressed_)
        return;
    leftPressed_ = false;
    ReleaseCapture();
    const bool over = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (over && OnClick)
        OnClick();
}

void TCustomLabel::AdjustSize()
{
    if (!autoSize_ || !Handle())
        return;
    HDC dc = GetDC(Handle());
    SIZE size{};
    {
        const SelectedObject font(dc, Font().Handle());
        size = MeasureLabelText(dc, Caption(), wordWrap_, Width());
    }
    ReleaseDC(Handle(), dc);
    SetBounds(Left(), Top(), size.cx, size.cy);
}

TButton::TButton(TComponent* owner) : TControl(owner)
{
    SetTabStop(true);
}

void TButton::FillCreateParams(CreateParams& params)
{
    params.ClassName = "BUTTON";
    params.Style |= BS_PUSHBUTTON | WS_TABSTOP;
}

void TButton::CommandNotification(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

void TButton::Click()
{
    if (TForm* form = ParentForm())
        form->SetModalResult(modalResult_);
    if (OnClick)
        OnClick();
}

TEdit::TEdit(TComponent* owner) : TControl(owner)
{
    SetTabStop(true);
}

void TEdit::FillCreateParams(CreateParams& params)
{
    params.ClassName = "EDIT";
    params.Style |= ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

TComboBox::TComboBox(TComponent* owner) : TControl(owner)
{
    SetTabStop(true);
}

void TComboBox::FillCreateParams(CreateParams& params)
{
    params.ClassName = "COMBOBOX";
    params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
}

int TComboBox::WindowHeight(int designHeight) const
{
    // Room for eight items when the list is dropped down.
    constexpr int kDropDownRows = 8;
    constexpr int kRowHeight = 16;
    return designHeight + kDropDownRows * kRowHeight;
}

void TComboBox::AddItem(const std::string& text)
{
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TComboBox::ItemCount() const
{
    return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0));
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index)
{
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
