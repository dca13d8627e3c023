#include "pictures/gif/GifWebPalette.h"

namespace {

int NearestLevel(std::uint8_t primary) { return (primary + WebPaletteStep / 2) / WebPaletteStep; }

}  // namespace

std::array<TGIFColor, WebPaletteSize> WebPaletteColors()
{
    std::array<TGIFColor, WebPaletteSize> colors;
    for (int i = 0; i < WebPaletteSize; ++i) {
        colors[static_cast<std::size_t>(i)] = {
            static_cast<std::uint8_t>(i / (WebPaletteLevels * WebPaletteLevels) * WebPaletteStep),
            static_cast<std::uint8_t>(i / WebPaletteLevels % WebPaletteLevels * WebPaletteStep),
            static_cast<std::uint8_t>(i % WebPaletteLevels * WebPaletteStep)};
    }
    return colors;
}

std::uint8_t NearestWebPaletteIndex(const TGIFColor& color)
{
    return static_cast<std::uint8_t>(NearestLevel(color.Red) * WebPaletteLevels * WebPaletteLevels +
                                     NearestLevel(color.Green) * WebPaletteLevels + NearestLevel(color.Blue));
}

std::vector<std::uint8_t> MapToWebPalette(std::span<const std::uint8_t> indices, std::span<const TGIFColor> colors)
{
    // Each of the 256 possible indices is looked up once.
    std::array<std::uint8_t, 256> nearest{};
    for (std::size_t i = 0; i < nearest.size(); ++i)
        nearest[i] = NearestWebPaletteIndex(i < colors.size() ? colors[i] : TGIFColor{});
    std::vector<std::uint8_t> mapped(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        mapped[i] = nearest[indices[i]];
    return mapped;
}
