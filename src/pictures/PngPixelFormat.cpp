#include "pictures/PngPixelFormat.h"

std::optional<PngPixelFormat> PixelFormatFor(std::uint8_t colorType, std::uint8_t bitDepth)
{
    const bool wide = bitDepth == 16;
    switch (colorType) {
    case kGreyscale:
        switch (bitDepth) {
        case 1: case 4: case 8: return PngPixelFormat{1, 1, bitDepth, true, false};
        case 2: return PngPixelFormat{1, 1, 4, true, false};
        case 16: return PngPixelFormat{1, 2, 8, true, false};
        }
        break;
    case kPalette:
        switch (bitDepth) {
        case 1: case 4: case 8: return PngPixelFormat{1, 1, bitDepth, true, false};
        case 2: return PngPixelFormat{1, 1, 4, true, false};
        }
        break;
    case kTruecolour:
        if (bitDepth == 8 || wide)
            return PngPixelFormat{3, wide ? 6u : 3u, 24, false, false};
        break;
    case kGreyscaleAlpha:
        if (bitDepth == 8 || wide)
            return PngPixelFormat{2, wide ? 4u : 2u, 8, true, true};
        break;
    case kTruecolourAlpha:
        if (bitDepth == 8 || wide)
            return PngPixelFormat{4, wide ? 8u : 4u, 24, false, true};
        break;
    }
    return std::nullopt;
}

std::size_t PngRowBytes(const PngPixelFormat& format, std::uint8_t bitDepth, std::uint32_t width)
{
    return (static_cast<std::size_t>(width) * bitDepth * format.channels + 7) / 8;
}
