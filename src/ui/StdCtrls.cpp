#include "ui/StdCtrls.h"

#include "base/GdiObjects.h"
#include "ui/LabelText.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {}

void TCustomLabel::FillCreateParams(CreateParams& params)
{
    // Drawn by the label itself, as it measures its text, so an auto-sized
    // label always fits its text.
    params.ClassName = OwnWindowClass("TLabel");
    params.OwnClass = true;
}

void TCustomLabel::Paint(HDC dc, const RECT& client)
{
    const SelectedObject font(dc, Font().Handle());
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkMode(dc, TRANSPARENT);
    DrawLabelText(dc, Caption(), client, alignment_, wordWrap_);
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
    return designHeight + dropDownHeight_;
}

void TComboBox::ChangeScale(int multiplier, int divider)
{
    dropDownHeight_ = MulDiv(dropDownHeight_, multiplier, divider);
    TControl::ChangeScale(multiplier, divider);
    scaled_ = true;
    FitSelectionField();
}

void TComboBox::FontChanged()
{
    TControl::FontChanged();  // the field takes the new font's height
    FitSelectionField();
}

void TComboBox::FitSelectionField()
{
    if (!scaled_ || !Handle())
        return;
    // The field is first given the item height it reports, which shows how
    // much its window adds to that (implementations differ), then the
    // designed height less that much.
    const auto itemHeight = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    RECT field{};  // a closed drop-down list's window is its selection field
    GetWindowRect(Handle(), &field);
    const int frame = field.bottom - field.top - itemHeight;
    SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Height() - frame);
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
