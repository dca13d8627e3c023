#pragma once
// Small PNG pictures made for the drawing tests, each with the colour and alpha
// its pixels must show, and the canvas that blending them must leave.
#include <cstdint>
#include <string>
#include <vector>

#include "PngBuilder.h"

struct Rgba {
    std::uint8_t red, green, blue, alpha;
};

struct DrawSample {
    std::string what;
    Bytes file;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<Rgba> pixels;  // top row first
};

// Truecolour with alpha, 8 or 16 bits a sample. Alpha takes every kind of
// value: 0, 255, 128 and others.
DrawSample RgbaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed);
// Grey with alpha, 8 or 16 bits, with a gAMA chunk that must not touch the
// blended grey.
DrawSample GreyAlphaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed);
// A palette image of 1, 2, 4 or 8 bits whose tRNS gives graded transparency.
DrawSample PaletteAlphaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed);

// Canvas pixels are 0x00RRGGBB, the bytes of a 32-bit DIB.
using CanvasPixels = std::vector<std::uint32_t>;
constexpr std::uint32_t CanvasPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

// A canvas whose every pixel differs, so that a pixel taken or blended from
// the wrong place shows.
CanvasPixels PatternedCanvas(int width, int height);

// Which source column (row) destination column (row) `dest` shows: the
// position divided by the floating-point scale factor, truncated.
std::size_t ReferenceSourceIndex(int dest, int destSize, std::uint32_t sourceSize);

// What drawing the sample over `background` (destWidth x destHeight, top row
// first) must leave: each destination pixel shows the source pixel that
// ReferenceSourceIndex picks, blended per channel as
// (S * a + (255 - a) * D + 255) >> 8.
CanvasPixels ReferenceBlend(const DrawSample& sample, int destWidth, int destHeight, const CanvasPixels& background);
