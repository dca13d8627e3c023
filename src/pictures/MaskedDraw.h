#pragma once
// Drawing a DIB with one transparent colour through monochrome masks.
#include <windows.h>

// Stretches the DIB (`bits` laid out as `info` says, any format) onto the
// rectangle of the canvas; pixels of the colour `transparent` leave the canvas
// as it was. A rectangle given the wrong way round is drawn as its normalised
// form; an empty one draws nothing. Raises EPNGOutMemory, having drawn
// nothing, when a bitmap or device context cannot be had.
void MaskedDraw(HDC canvas, const void* bits, const BITMAPINFO& info, COLORREF transparent, const RECT& rect);
