#pragma once
// Copying bitmaps onto a canvas for GIF drawing (Windows): where frames land,
// and the animation buffer stretched or tiled. Transparent frames go through
// the masked copy that PNG drawing shares (pictures/MaskedDraw.h).
#include <windows.h>

#include <vector>

#include "pictures/gif/GifDrawGeometry.h"

class GifBitmapSurface;
class TGIFSubImage;

inline GifRect ToGifRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Where a frame lands in destination: its bounds scaled from the logical
// screen (screenWidth x screenHeight), or with tile repeated from its offset
// every screen width and height.
std::vector<GifRect> FrameTargets(const TGIFSubImage& frame, int screenWidth, int screenHeight,
                                  const GifRect& destination, bool tile);

// Copies the whole of surface onto rect of dc: stretched, or with tile
// repeated at its own size from rect's top-left corner.
void CopySurfaceToRect(const GifBitmapSurface& surface, HDC dc, const RECT& rect, bool tile);
