#include "ui/Image.h"

#include <span>
#include <string>

#include "base/Exception.h"
#include "base/GdiObjects.h"

TImage::TImage(TComponent* owner) : TControl(owner)
{
    picture_.OnChange = [this](TPicture&) { PictureChanged(); };
}

void TImage::FillCreateParams(CreateParams& params)
{
    params.ClassName = OwnWindowClass("TImage");
    params.OwnClass = true;
}

void TImage::LoadPictureResource(const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw Exception(std::string("Resource ") + name + " not found");
    MemoryStream stream(std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)));
    picture_.LoadFromPictureData(stream);
}

void TImage::SetAutoSize(bool value)
{
    autoSize_ = value;
    PictureChanged();
}

void TImage::SetStretch(bool value)
{
    stretch_ = value;
    PictureChanged();
}

void TImage::SetTransparent(bool value)
{
    transparent_ = value;
    PictureChanged();
}

void TImage::PictureChanged()
{
    if (TGraphic* graphic = picture_.Graphic()) {
        graphic->SetTransparent(transparent_);
        if (autoSize_ && graphic->Width() > 0 && graphic->Height() > 0)
            SetBounds(Left(), Top(), graphic->Width(), graphic->Height());
    }
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted with the picture, in one go
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

void TImage::Paint(HDC dc)
{
    // Composed off-screen: the background first, then the graphic, which may
    // blend with what lies beneath it.
    RECT client{};
    GetClientRect(Handle(), &client);
    const BitmapDC memory(CreateMemoryDC(dc),
                          GdiObject<HBITMAP>(CreateCompatibleBitmap(dc, client.right, client.bottom)));
    if (!memory.Valid())
        return;
    FillRect(memory.DC(), &client, BackgroundBrush());
    if (TGraphic* graphic = picture_.Graphic(); graphic && !graphic->Empty()) {
        const RECT target = stretch_ ? client : RECT{0, 0, graphic->Width(), graphic->Height()};
        graphic->Draw(memory.DC(), target);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.DC(), 0, 0, SRCCOPY);
}
