#include "pictures/MaskedDraw.h"

#include <cstdlib>
#include <initializer_list>

#include "base/GdiObjects.h"
#include "pictures/PngErrors.h"

namespace {

void Require(const BitmapDC& canvas)
{
    if (!canvas.Valid())
        throw EPNGOutMemory();
}

GdiObject<HBITMAP> MonochromeBitmap(int width, int height)
{
    return GdiObject<HBITMAP>(CreateBitmap(width, height, 1, 1, nullptr));
}

}  // namespace

void MaskedDraw(HDC canvas, const void* bits, const BITMAPINFO& info, COLORREF transparent, const RECT& rect)
{
    const RECT r = NormalizedRect(rect);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w == 0 || h == 0)
        return;
    const int sourceWidth = std::abs(info.bmiHeader.biWidth);
    const int sourceHeight = std::abs(info.bmiHeader.biHeight);

    // A device-dependent copy of the image: it gets blackened below.
    const BitmapDC image(CreateMemoryDC(canvas),
                         GdiObject<HBITMAP>(CreateDIBitmap(canvas, &info.bmiHeader, CBM_INIT, bits, &info,
                                                           DIB_RGB_COLORS)));
    Require(image);
    const BitmapDC mask(CreateMemoryDC(canvas), MonochromeBitmap(w, h));
    Require(mask);
    const BitmapDC inverseMask(CreateMemoryDC(canvas), MonochromeBitmap(w, h));
    Require(inverseMask);
    const BitmapDC work(CreateMemoryDC(canvas), GdiObject<HBITMAP>(CreateCompatibleBitmap(canvas, w, h)));
    Require(work);

    // Memory contexts start in BLACKONWHITE, which would AND neighbouring
    // pixels together when shrinking and so invent colours; a pixel must keep
    // its colour to be found transparent or not.
    for (const BitmapDC* stretchedInto : {&mask, &image, &work})
        SetStretchBltMode(stretchedInto->DC(), COLORONCOLOR);

    // Into a monochrome bitmap, pixels of the background colour become 1.
    const COLORREF oldBackground = SetBkColor(image.DC(), transparent);
    StretchBlt(mask.DC(), 0, 0, w, h, image.DC(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SetBkColor(image.DC(), oldBackground);
    BitBlt(inverseMask.DC(), 0, 0, w, h, mask.DC(), 0, 0, NOTSRCCOPY);

    // The canvas survives where the image is transparent ...
    BitBlt(work.DC(), 0, 0, w, h, canvas, r.left, r.top, SRCCOPY);
    BitBlt(work.DC(), 0, 0, w, h, mask.DC(), 0, 0, SRCAND);
    // ... the image, its transparent pixels made black, is OR-ed over it.
    StretchBlt(image.DC(), 0, 0, sourceWidth, sourceHeight, inverseMask.DC(), 0, 0, w, h, SRCAND);
    StretchBlt(work.DC(), 0, 0, w, h, image.DC(), 0, 0, sourceWidth, sourceHeight, SRCPAINT);
    BitBlt(canvas, r.left, r.top, w, h, work.DC(), 0, 0, SRCCOPY);
}
