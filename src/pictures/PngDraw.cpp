// Drawing a decoded PNG picture onto a device context.
#include "base/GdiObjects.h"
#include "pictures/MaskedDraw.h"
#include "pictures/PngBlend.h"
#include "pictures/pngpicture.h"

namespace {

const BITMAPINFO& AsBitmapInfo(const TDibInfo& info)
{
    return *reinterpret_cast<const BITMAPINFO*>(&info);
}

void StretchOpaque(const TChunkIHDR& header, HDC dc, const RECT& rect)
{
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                  static_cast<int>(header.Width()), static_cast<int>(header.Height()), header.PixelBits(),
                  &AsBitmapInfo(header.DibInfo()), DIB_RGB_COLORS, SRCCOPY);
}

// Blends over what the canvas shows: one copy of the area into a 32-bit
// buffer the size of the rectangle, the arithmetic there, one copy back.
void BlendOntoCanvas(const TPngPicture& picture, HDC dc, const RECT& rect)
{
    const RECT r = NormalizedRect(rect);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w == 0 || h == 0)
        return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    MemoryDC bufferDC = CreateMemoryDC(nullptr);
    void* bits = nullptr;
    GdiObject<HBITMAP> section(
        bufferDC ? CreateDIBSection(bufferDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
    const BitmapDC buffer(std::move(bufferDC), std::move(section));
    if (!buffer.Valid() || !bits)
        throw EPNGOutMemory();

    BitBlt(buffer.DC(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();  // the copy must have landed before the bits are read
    BlendPictureOnto(picture, BlendCanvas{static_cast<std::uint8_t*>(bits), w, h});
    BitBlt(dc, r.left, r.top, w, h, buffer.DC(), 0, 0, SRCCOPY);
}

}  // namespace

void TPngPicture::Draw(HDC dc, const RECT& rect)
{
    if (Empty())
        return;
    const TChunkIHDR& header = Header();
    if (!header.PixelBits())
        return;  // a load that failed before the image could be had
    switch (AlphaDrawMode()) {
    case admOpaque:
        StretchOpaque(header, dc, rect);
        break;
    case admColorKey:
        MaskedDraw(dc, header.PixelBits(), AsBitmapInfo(header.DibInfo()), KeyColor(), rect);
        break;
    case admBlend:
        BlendOntoCanvas(*this, dc, rect);
        break;
    }
}
