#pragma once
// The fixed palette that frame bitmaps are dithered to on displays with a
// palette: 6 levels per primary (0, 51, ... 255), 216 colours, red major
// (index = red level x 36 + green level x 6 + blue level).
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/gif/GifColorMap.h"

inline constexpr int WebPaletteLevels = 6;
inline constexpr int WebPaletteStep = 51;
inline constexpr int WebPaletteSize = WebPaletteLevels * WebPaletteLevels * WebPaletteLevels;

std::array<TGIFColor, WebPaletteSize> WebPaletteColors();

// The entry nearest to color, each primary rounded to its nearest level.
std::uint8_t NearestWebPaletteIndex(const TGIFColor& color);

// Colour indices into colors turned into indices of the fixed palette, each
// the entry nearest to its colour. Indices beyond colors count as black.
std::vector<std::uint8_t> MapToWebPalette(std::span<const std::uint8_t> indices, std::span<const TGIFColor> colors);
