#pragma once
// Drawing through a transparency mask, for both picture formats: a GIF frame
// with its transparent index, a PNG with one transparent colour.
#include <windows.h>

// Copies `from` of source (a DC holding the source bitmap) onto `to` of
// destination, stretched where the sizes differ, leaving the destination as
// it was where mask (one bit a pixel in the source's coordinates, not
// selected into any DC, 1 = transparent) is set. palette is the source's, or
// nullptr for the system's. On NT systems an unscaled copy is a single
// MaskBlt; otherwise the mask clears the opaque area and the source,
// blackened where transparent, is ORed in. Returns false, having drawn
// nothing, when a work bitmap or device context cannot be had.
bool MaskedStretchBlt(HDC destination, const RECT& to, HDC source, HBITMAP mask, HPALETTE palette, const RECT& from);

// Stretches the DIB (`bits` laid out as `info` says, any format) onto the
// rectangle of the canvas; pixels of the colour `transparent` leave the canvas
// as it was. A rectangle given the wrong way round is drawn as its normalised
// form; an empty one draws nothing. Raises EPNGOutMemory, having drawn
// nothing, when a bitmap or device context cannot be had.
void MaskedDraw(HDC canvas, const void* bits, const BITMAPINFO& info, COLORREF transparent, const RECT& rect);
