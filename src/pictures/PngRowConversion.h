#pragma once
// Moving one unfiltered row into the DIB and the alpha plane. The routine is
// chosen once per image (and interlace method), not per pixel.
#include <cstdint>

#include "pictures/pngpicture.h"

// Where the row's pixels go: pixel k lands in column firstColumn + k * columnStep
// of the DIB row and of the alpha row (null when the image has no alpha plane).
// The DIB row must start zeroed: sub-byte pixels are OR-ed into place.
struct RowDestination {
    std::uint8_t* dib;
    std::uint8_t* alpha;
    std::uint32_t firstColumn;
    std::uint32_t columnStep;
};

using RowConverter = void (*)(const std::uint8_t* row, std::uint32_t pixels,
                              const RowDestination& to, const TGammaTable& gamma);

// For a colour type and bit depth the header has already accepted.
// identityGamma: the gamma table maps every value to itself.
RowConverter SelectRowConverter(std::uint8_t colorType, std::uint8_t bitDepth, bool interlaced,
                                bool identityGamma);
