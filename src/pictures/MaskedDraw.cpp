#include "pictures/MaskedDraw.h"

#include <cstdlib>

#include "base/GdiObjects.h"
#include "pictures/PngErrors.h"

namespace {

// The quaternary raster operation's "keep the destination" part.
constexpr DWORD KeepDestination = 0xAA0029;
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

bool IsNtFamily()
{
    return GetVersion() < 0x80000000;
}

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

GdiObject<HBITMAP> MonochromeBitmap(int width, int height)
{
    return GdiObject<HBITMAP>(CreateBitmap(width, height, 1, 1, nullptr));
}

// The mask of the pixels of the image that have the colour `transparent`:
// copied into a monochrome bitmap, pixels of the source's background colour
// become 1. Null when a bitmap or device context cannot be had.
GdiObject<HBITMAP> ColorKeyMask(HDC canvas, HDC image, COLORREF transparent, int width, int height)
{
    GdiObject<HBITMAP> mask = MonochromeBitmap(width, height);
    const MemoryDC maskDC = CreateMemoryDC(canvas);
    if (!mask || !maskDC)
        return {};
    const SelectedObject selected(maskDC.get(), mask.get());
    const COLORREF oldBackground = SetBkColor(image, transparent);
    BitBlt(maskDC.get(), 0, 0, width, height, image, 0, 0, SRCCOPY);
    SetBkColor(image, oldBackground);
    return mask;
}

}  // namespace

bool MaskedStretchBlt(HDC destination, const RECT& to, HDC source, HBITMAP mask, HPALETTE palette, const RECT& from)
{
    const int width = Width(from);
    const int height = Height(from);
    if (IsNtFamily() && Width(to) == width && Height(to) == height) {
        MaskBlt(destination, to.left, to.top, width, height, source, from.left, from.top, mask, from.left, from.top,
                MAKEROP4(KeepDestination, SRCCOPY));
        return true;
    }

    const MemoryDC maskDC = CreateMemoryDC(destination);
    const BitmapDC work(CreateMemoryDC(destination),
                        GdiObject<HBITMAP>(CreateCompatibleBitmap(destination, width, height)));
    const BitmapDC inverted(CreateMemoryDC(destination), MonochromeBitmap(width, height));
    if (!maskDC || !work.Valid() || !inverted.Valid())
        return false;
    const SelectedObject selectedMask(maskDC.get(), mask);

    // The work bitmap: the source where opaque, black where transparent.
    BitBlt(inverted.DC(), 0, 0, width, height, maskDC.get(), from.left, from.top, NOTSRCCOPY);
    const SelectedPalette workPalette(work.DC(), palette);
    {
        const SelectedColors workColors(work.DC(), Black, White);
        BitBlt(work.DC(), 0, 0, width, height, inverted.DC(), 0, 0, SRCCOPY);
    }
    BitBlt(work.DC(), 0, 0, width, height, source, from.left, from.top, SRCAND);

    // The mask keeps the destination where transparent and clears it
    // elsewhere; the work bitmap then fills the cleared pixels. Shrinking
    // must not AND neighbouring pixels together (the memory contexts'
    // default), or it would invent colours and holes.
    const SelectedColors colors(destination, Black, White);
    const SelectedStretchMode mode(destination, COLORONCOLOR);
    StretchBlt(destination, to.left, to.top, Width(to), Height(to), maskDC.get(), from.left, from.top, width, height,
               SRCAND);
    StretchBlt(destination, to.left, to.top, Width(to), Height(to), work.DC(), 0, 0, width, height, SRCPAINT);
    return true;
}

void MaskedDraw(HDC canvas, const void* bits, const BITMAPINFO& info, COLORREF transparent, const RECT& rect)
{
    const RECT r = NormalizedRect(rect);
    if (Width(r) == 0 || Height(r) == 0)
        return;
    const int sourceWidth = std::abs(info.bmiHeader.biWidth);
    const int sourceHeight = std::abs(info.bmiHeader.biHeight);

    // A device-dependent copy of the image, whose pixels can be compared
    // with the transparent colour.
    const BitmapDC image(CreateMemoryDC(canvas), GdiObject<HBITMAP>(CreateDIBitmap(canvas, &info.bmiHeader, CBM_INIT,
                                                                                   bits, &info, DIB_RGB_COLORS)));
    // Composed off-screen and copied at once, so that a failure leaves the
    // canvas untouched.
    const BitmapDC work(CreateMemoryDC(canvas),
                        GdiObject<HBITMAP>(CreateCompatibleBitmap(canvas, Width(r), Height(r))));
    if (!image.Valid() || !work.Valid())
        throw EPNGOutMemory();
    const GdiObject<HBITMAP> mask = ColorKeyMask(canvas, image.DC(), transparent, sourceWidth, sourceHeight);
    BitBlt(work.DC(), 0, 0, Width(r), Height(r), canvas, r.left, r.top, SRCCOPY);
    if (!mask || !MaskedStretchBlt(work.DC(), RECT{0, 0, Width(r), Height(r)}, image.DC(), mask.get(), nullptr,
                                   RECT{0, 0, sourceWidth, sourceHeight}))
        throw EPNGOutMemory();
    BitBlt(canvas, r.left, r.top, Width(r), Height(r), work.DC(), 0, 0, SRCCOPY);
}
