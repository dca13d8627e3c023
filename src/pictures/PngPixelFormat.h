#pragma once
// How each allowed colour type and bit depth is laid out: in the file's rows
// and in the decoded DIB.
#include <cstddef>
#include <cstdint>
#include <optional>

enum PngColorType : std::uint8_t {
    kGreyscale = 0,
    kTruecolour = 2,
    kPalette = 3,
    kGreyscaleAlpha = 4,
    kTruecolourAlpha = 6,
};

struct PngPixelFormat {
    unsigned channels;       // samples per pixel in the file
    unsigned bytesPerPixel;  // the filters' left distance (1 for sub-byte depths)
    unsigned dibBits;        // DIB bits per pixel
    bool colorTable;         // grey ramp or palette in the DIB's colour table
    bool alphaPlane;
};

// The layout, or nothing when the standard does not allow the combination.
std::optional<PngPixelFormat> PixelFormatFor(std::uint8_t colorType, std::uint8_t bitDepth);

// Bytes of one filtered row of `width` pixels, without the filter-type byte.
std::size_t PngRowBytes(const PngPixelFormat& format, std::uint8_t bitDepth, std::uint32_t width);
