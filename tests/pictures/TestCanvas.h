#pragma once
// A canvas for drawing tests under Windows or Wine: a 32-bit top-down DIB
// section selected into a memory device context, whose pixels are set and
// read back through GDI (SetDIBits, GetDIBits).
#include <windows.h>

#include <cstddef>

#include "DrawSamples.h"

class TestCanvas {
public:
    TestCanvas(int width, int height, const CanvasPixels& pixels);
    TestCanvas(int width, int height, std::uint32_t background)
        : TestCanvas(width, height, CanvasPixels(static_cast<std::size_t>(width) * height, background))
    {
    }
    ~TestCanvas();
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    HDC DC() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Top row first, each 0x00RRGGBB.
    CanvasPixels Pixels() const;

private:
    BITMAPINFO Info() const;

    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// `pixels` (width x height) with `inner` placed at the rectangle's corner.
CanvasPixels Pasted(CanvasPixels pixels, int width, const CanvasPixels& inner, const RECT& at);
// The part of `pixels` (width wide) under the rectangle.
CanvasPixels Cut(const CanvasPixels& pixels, int width, const RECT& from);

// GDI objects the process holds now. Windows counts them for us; Wine's count
// is a stub, so there the entries of the process's GDI handle table are
// counted instead.
std::size_t LiveGdiObjects();
