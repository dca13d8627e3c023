#pragma once
#include <cstdint>
#include <span>

#include "RgbaImage.h"

// Frame `frame` of a GIF stream: colours through the frame's local table,
// else the global one (black beyond the table), alpha 0 for the frame's
// transparent index, else 255. Raises GIFException for a refused stream and
// std::runtime_error for a frame that does not exist or has no image.
RgbaImage GifToRgba(std::span<const std::uint8_t> bytes, int frame);
