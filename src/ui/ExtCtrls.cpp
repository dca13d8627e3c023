#include "ui/ExtCtrls.h"

TPanel::TPanel(TComponent* owner) : TControl(owner) {}

void TPanel::FillCreateParams(CreateParams& params)
{
    params.ClassName = OwnWindowClass("TPanel");
    params.OwnClass = true;
    params.Style |= WS_CLIPCHILDREN;
}

TBevel::TBevel(TComponent* owner) : TControl(owner) {}

void TBevel::FillCreateParams(CreateParams& params)
{
    params.ClassName = OwnWindowClass("TBevel");
    params.OwnClass = true;
}

void TBevel::SetShape(TBevelShape shape)
{
    shape_ = shape;
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TBevel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A bevel is only drawn: the mouse goes to what lies beneath.
    if (message == WM_NCHITTEST)
        return HTTRANSPARENT;
    return TControl::WndProc(message, wParam, lParam);
}

void TBevel::Paint(HDC dc, const RECT& client)
{
    RECT edge = client;
    DrawEdge(dc, &edge, EDGE_ETCHED, shape_ == bsTopLine ? BF_TOP : BF_BOTTOM);
}
