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
    switch (message) {
    case WM_NCHITTEST:
        // A bevel is only drawn: the mouse goes to what lies beneath.
        return HTTRANSPARENT;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        RECT client{};
        GetClientRect(Handle(), &client);
        DrawEdge(dc, &client, EDGE_ETCHED, shape_ == bsTopLine ? BF_TOP : BF_BOTTOM);
        EndPaint(Handle(), &paint);
        return 0;
    }
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}
