#pragma once
// Copying bitmaps onto a canvas for GIF drawing (Windows): through a
// transparency mask, and the animation buffer stretched or tiled.
#include <windows.h>

#include <vector>

#include "pictures/gif/GifDrawGeometry.h"

class GifBitmapSurface;
class TGIFSubImage;

inline GifRect ToGifRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Copies from of source (a DC holding the source bitmap) into to of
// destination, leaving the destination where mask (one bit a pixel, 1 =
// transparent) is set. palette is the source's, or nullptr for the system's.
// On NT systems an unscaled copy is a single MaskBlt; otherwise the mask
// clears the opaque area and the source, blackened where transparent, is
// ORed in.
void MaskedStretchBlt(HDC destination, const GifRect& to, HDC source, HBITMAP mask, HPALETTE palette,
                      const GifRect& from);

// Where a frame lands in destination: its bounds scaled from the logical
// screen (screenWidth x screenHeight), or with tile repeated from its offset
// every screen width and height.
std::vector<GifRect> FrameTargets(const TGIFSubImage& frame, int screenWidth, int screenHeight,
                                  const GifRect& destination, bool tile);

// Copies the whole of surface onto rect of dc: stretched, or with tile
// repeated at its own size from rect's top-left corner.
void CopySurfaceToRect(const GifBitmapSurface& surface, HDC dc, const RECT& rect, bool tile);
