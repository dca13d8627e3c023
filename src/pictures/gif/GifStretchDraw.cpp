#include "pictures/gif/GifStretchDraw.h"

#include "base/GdiObjects.h"
#include "pictures/gif/GifDrawingState.h"
#include "pictures/gifpicture.h"

namespace {

// The quaternary raster operation's "keep the destination" part.
constexpr DWORD KeepDestination = 0xAA0029;
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

bool IsNtFamily() { return GetVersion() < 0x80000000; }

void RequireGdi(bool made)
{
    if (!made)
        throw GIFException(gif_message::DibAllocation);
}

}  // namespace

void MaskedStretchBlt(HDC destination, const GifRect& to, HDC source, HBITMAP mask, HPALETTE palette,
                      const GifRect& from)
{
    const int width = from.Width();
    const int height = from.Height();
    if (IsNtFamily() && to.Width() == width && to.Height() == height) {
        MaskBlt(destination, to.Left, to.Top, width, height, source, from.Left, from.Top, mask, from.Left, from.Top,
                MAKEROP4(KeepDestination, SRCCOPY));
        return;
    }

    const MemoryDC maskDC = CreateMemoryDC(destination);
    const BitmapDC work(CreateMemoryDC(destination),
                        GdiObject<HBITMAP>(CreateCompatibleBitmap(destination, width, height)));
    const BitmapDC inverted(CreateMemoryDC(destination),
                            GdiObject<HBITMAP>(CreateBitmap(width, height, 1, 1, nullptr)));
    RequireGdi(maskDC && work.Valid() && inverted.Valid());
    SelectedObject selectedMask(maskDC.get(), mask);

    // The work bitmap: the source where opaque, black where transparent.
    BitBlt(inverted.DC(), 0, 0, width, height, maskDC.get(), from.Left, from.Top, NOTSRCCOPY);
    SelectedPalette workPalette(work.DC(), palette);
    {
        SelectedColors workColors(work.DC(), Black, White);
        BitBlt(work.DC(), 0, 0, width, height, inverted.DC(), 0, 0, SRCCOPY);
    }
    BitBlt(work.DC(), 0, 0, width, height, source, from.Left, from.Top, SRCAND);

    // The mask keeps the destination where transparent and clears it
    // elsewhere; the work bitmap then fills the cleared pixels.
    SelectedColors colors(destination, Black, White);
    StretchBlt(destination, to.Left, to.Top, to.Width(), to.Height(), maskDC.get(), from.Left, from.Top, width, height,
               SRCAND);
    StretchBlt(destination, to.Left, to.Top, to.Width(), to.Height(), work.DC(), 0, 0, width, height, SRCPAINT);
}

std::vector<GifRect> FrameTargets(const TGIFSubImage& frame, int screenWidth, int screenHeight,
                                  const GifRect& destination, bool tile)
{
    if (tile)
        return TileRects(destination, frame.Left(), frame.Top(), frame.Width(), frame.Height(), screenWidth,
                         screenHeight);
    return {PlaceFrame(frame, screenWidth, screenHeight, destination)};
}

void CopySurfaceToRect(const GifBitmapSurface& surface, HDC dc, const RECT& rect, bool tile)
{
    const int width = surface.Width();
    const int height = surface.Height();
    if (tile) {
        for (const GifRect& t : TileRects(ToGifRect(rect), 0, 0, width, height, width, height))
            BitBlt(dc, t.Left, t.Top, width, height, surface.DC(), 0, 0, SRCCOPY);
        return;
    }
    SelectedStretchMode mode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, surface.DC(), 0, 0, width,
               height, SRCCOPY);
}

void TGifPicture::StretchDrawFrame(HDC dc, const RECT& rect, TGIFSubImage& frame, bool tile, bool transparent)
{
    const GifFrameDrawing& drawing = RenderFrame(frame);
    if (!drawing.FrameBitmap)
        return;
    const MemoryDC source = CreateMemoryDC(dc);
    RequireGdi(static_cast<bool>(source));
    SelectedObject selected(source.get(), drawing.FrameBitmap.get());
    SelectedPalette palette(dc, drawing.Palette.get());
    SelectedStretchMode mode(dc, COLORONCOLOR);
    const GifRect whole{0, 0, frame.Width(), frame.Height()};
    const bool masked = transparent && frame.Transparent() && drawing.FrameMask;
    for (const GifRect& to : FrameTargets(frame, Width(), Height(), ToGifRect(rect), tile)) {
        if (masked)
            MaskedStretchBlt(dc, to, source.get(), drawing.FrameMask.get(), drawing.Palette.get(), whole);
        else
            StretchBlt(dc, to.Left, to.Top, to.Width(), to.Height(), source.get(), 0, 0, whole.Width(), whole.Height(),
                       SRCCOPY);
    }
}
