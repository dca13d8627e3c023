#pragma once
// The one-bit mask of a transparent frame, in the layout of a monochrome
// bitmap: rows of whole 16-bit words, top row first, most significant bit
// first, 1 where the pixel has the frame's transparent colour index.
#include <cstdint>
#include <optional>
#include <vector>

class TGIFSubImage;

struct GifFrameMask {
    int Width = 0;
    int Height = 0;
    int RowBytes = 0;  // ((Width + 15) / 16) * 2
    std::vector<std::uint8_t> Bits;
};

// Nothing for a frame that is not transparent, has no pixels or has no pixel
// of its transparent index: such a frame draws opaque.
std::optional<GifFrameMask> BuildFrameMask(const TGIFSubImage& frame);
