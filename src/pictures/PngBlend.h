#pragma once
// Alpha blending of a decoded PNG over pixels taken from a canvas. This is the
// part of drawing that needs no GDI, so both builds run the very arithmetic the
// screen shows.
#include <cstdint>

class TPngPicture;

// W x H pixels of 32 bits (blue, green, red, unused), top row first, rows of
// exactly W * 4 bytes: a top-down 32-bit DIB section.
struct BlendCanvas {
    std::uint8_t* bits;
    int width;
    int height;
};

// One channel of source S with alpha a over destination D. The shift by 8 with
// the added 255 makes a = 255 give S and a = 0 give D exactly.
constexpr std::uint8_t BlendChannel(std::uint8_t source, std::uint8_t alpha, std::uint8_t dest)
{
    return static_cast<std::uint8_t>((source * alpha + (255 - alpha) * dest + 255) >> 8);
}

// The source column (or row) that destination column (or row) `dest` shows when
// `sourceSize` pixels are drawn over `destSize`: trunc(dest / (destSize /
// sourceSize)), or `dest` itself when the sizes agree.
std::uint32_t SourceIndex(int dest, int destSize, std::uint32_t sourceSize);

// The colour-table index of column x in a DIB row of 1, 4 or 8 bits a pixel;
// the first pixel sits in the high bits of a byte.
std::uint8_t PaletteIndexAt(const std::uint8_t* row, unsigned bitsPerPixel, std::uint32_t x);

// Blends the whole picture, stretched to the canvas's size, over the canvas.
// Handles the images drawn by blending: truecolour and grey with alpha, and
// palette images with partial transparency. A palette index beyond the PLTE
// entries raises EPngError; the canvas may then be partly blended.
void BlendPictureOnto(const TPngPicture& picture, const BlendCanvas& canvas);
