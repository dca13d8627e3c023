#include "ui/StdCtrls.h"

#include "ui/GdiHandle.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {}

void TCustomLabel::FillCreateParams(CreateParams& params)
{
    params.ClassName = "STATIC";
    // SS_NOTIFY lets the label take mouse messages (and so show its cursor).
    params.Style |= SS_NOTIFY;
    switch (alignment_) {
    case taLeftJustify: params.Style |= wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP; break;
    case taRightJustify: params.Style |= SS_RIGHT; break;
    case taCenter: params.Style |= SS_CENTER; break;
    }
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
    if (!Handle())
        return;
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    style |= alignment == taCenter ? SS_CENTER : alignment == taRightJustify ? SS_RIGHT
             : wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP;
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
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
    SetAlignment(alignment_);
    AdjustSize();
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
    const std::string text = Caption();
    HDC dc = GetDC(Handle());
    HGDIOBJ previous = SelectObject(dc, Font().Handle());
    RECT bounds{0, 0, wordWrap_ ? Width() : 0, 0};
    // Line breaks in the caption count, as the label shows them.
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &bounds,
              DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
    SelectObject(dc, previous);
    ReleaseDC(Handle(), dc);
    const int width = text.empty() ? 0 : bounds.right - bounds.left;
    SetBounds(Left(), Top(), width, bounds.bottom - bounds.top);
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
