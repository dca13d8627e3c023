#pragma once
// What drawing keeps between draws (Windows): per frame its bitmap, mask and
// palette; per picture its palette, the animation buffer and its painters.
// Only the UI thread touches these; painter threads reach them through
// synchronised calls, except for the painter list, which locks itself.
#include <windows.h>

#include <memory>
#include <span>

#include "base/GdiObjects.h"
#include "pictures/gif/GifColorMap.h"
#include "pictures/gif/GifDrawCache.h"

class GifPainterList;
class TGIFPainter;

// A logical palette of the colours; nullptr for none. Raises GIFException
// "Failed to allocate memory for GIF DIB" when GDI has no room for it.
HPALETTE CreateGifPalette(std::span<const TGIFColor> colors);

// Whether the display shows at most 256 colours through a palette (bits per
// pixel x planes below 9); asked once.
bool DisplayIsPaletted();

class GifFrameDrawing final : public GifDrawCache {
public:
    bool Rendered = false;
    // An 8-bit DIB section of the frame; none for a frame of no area.
    GdiObject<HBITMAP> FrameBitmap;
    // One bit a pixel, 1 where the frame is transparent; none when no pixel is.
    GdiObject<HBITMAP> FrameMask;
    GdiObject<HPALETTE> Palette;
};

// A 32-bit bitmap kept selected into a memory DC of its own.
class GifBitmapSurface {
public:
    // Raises GIFException "Failed to allocate memory for GIF DIB" when GDI
    // cannot make it.
    GifBitmapSurface(int width, int height);
    HDC DC() const { return surface_.DC(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    BitmapDC surface_;
};

// Shared between a picture's drawing state and the Draw calls running, so
// that a Draw whose handlers cleared or destroyed the picture can tell.
struct GifDrawGuard {
    // A Draw runs or painters are being stopped: Draw does nothing.
    bool Busy = false;
    // Counts the times painting was stopped (clear, reload, destroy).
    unsigned Stops = 0;
};

class GifPictureDrawing final : public GifDrawCache {
public:
    GifPictureDrawing();
    ~GifPictureDrawing() override;
    // Ends every painter and waits until they have gone.
    void StopPainting() override;

    std::shared_ptr<GifDrawGuard> Guard = std::make_shared<GifDrawGuard>();
    // Built from the global colour table, or the fixed palette when dithering.
    GdiObject<HPALETTE> Palette;
    // The off-screen buffer of animations, the logical screen's size.
    std::unique_ptr<GifBitmapSurface> Buffer;
    std::shared_ptr<GifPainterList> Painters;
    std::weak_ptr<TGIFPainter> DrawingPainter;
};
