#pragma once
// Where a GIF picture's frames land when drawn into a rectangle: scaled by
// rounded multiply-divide as GDI does it, or repeated in tiles.
#include <vector>

class TGIFSubImage;

struct GifRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const GifRect&, const GifRect&) = default;
};

// number * numerator / denominator with a 64-bit intermediate, rounded to the
// nearest integer, halves away from zero; -1 when denominator is 0 or the
// result does not fit 32 bits (the behaviour of Windows' MulDiv).
int GifMulDiv(int number, int numerator, int denominator);

// The frame's bounds scaled from the logical screen (screenWidth x
// screenHeight) to destination, each edge by GifMulDiv.
GifRect PlaceFrame(const TGIFSubImage& frame, int screenWidth, int screenHeight, const GifRect& destination);

// Tiles of tileWidth x tileHeight repeated across destination: the first
// at (offsetX, offsetY) from its top-left corner, then every stepX and
// stepY while a tile starts inside it (the last ones may reach past its
// edges). A step below 1 gives a single row or column.
std::vector<GifRect> TileRects(const GifRect& destination, int offsetX, int offsetY, int tileWidth, int tileHeight,
                               int stepX, int stepY);
