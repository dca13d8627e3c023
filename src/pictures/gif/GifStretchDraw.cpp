#include "pictures/gif/GifStretchDraw.h"

#include "base/GdiObjects.h"
#include "pictures/MaskedDraw.h"
#include "pictures/gif/GifDrawingState.h"
#include "pictures/gifpicture.h"

namespace {

void RequireGdi(bool made)
{
    if (!made)
        throw GIFException(gif_message::DibAllocation);
}

}  // namespace

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
            RequireGdi(MaskedStretchBlt(dc, RECT{to.Left, to.Top, to.Right, to.Bottom}, source.get(),
                                        drawing.FrameMask.get(), drawing.Palette.get(),
                                        RECT{0, 0, whole.Right, whole.Bottom}));
        else
            StretchBlt(dc, to.Left, to.Top, to.Width(), to.Height(), source.get(), 0, 0, whole.Width(), whole.Height(),
                       SRCCOPY);
    }
}
