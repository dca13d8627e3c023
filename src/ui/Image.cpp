#include "ui/Image.h"

#include <span>
#include <string>

#include "base/Exception.h"

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

void TImage::ChangeScale(int multiplier, int divider)
{
    TControl::ChangeScale(multiplier, divider);
    scaleMultiplier_ *= multiplier;
    scaleDivider_ *= divider;
}

SIZE TImage::GraphicSize(const TGraphic& graphic) const
{
    return {MulDiv(graphic.Width(), scaleMultiplier_, scaleDivider_),
            MulDiv(graphic.Height(), scaleMultiplier_, scaleDivider_)};
}

void TImage::PictureChanged()
{
    if (TGraphic* graphic = picture_.Graphic()) {
        graphic->SetTransparent(transparent_);
        if (autoSize_ && graphic->Width() > 0 && graphic->Height() > 0) {
            const SIZE size = GraphicSize(*graphic);
            SetBounds(Left(), Top(), size.cx, size.cy);
        }
    }
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TImage::Paint(HDC dc, const RECT& client)
{
    // Over the background: a graphic may blend with what lies beneath it.
    if (TGraphic* graphic = picture_.Graphic(); graphic && !graphic->Empty()) {
        const SIZE size = GraphicSize(*graphic);
        const RECT target = stretch_ ? client : RECT{0, 0, size.cx, size.cy};
        graphic->Draw(dc, target);
    }
}
