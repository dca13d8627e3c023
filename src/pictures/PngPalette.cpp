// The logical palette of a PNG picture, for palette displays.
#include <vector>

#include "pictures/PngPixelFormat.h"
#include "pictures/pngpicture.h"

namespace {

constexpr int kPaletteEntries = 256;

}  // namespace

void TPngPicture::PaletteDeleter::operator()(HPALETTE palette) const
{
    DeleteObject(palette);
}

HPALETTE TPngPicture::Palette() const
{
    if (palette_ || Empty())
        return palette_.get();
    const TChunkIHDR& header = Header();
    if (header.ColorType() != kGreyscale && header.ColorType() != kPalette)
        return nullptr;

    // LOGPALETTE declares one entry; the other 255 follow it.
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + (kPaletteEntries - 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = kPaletteEntries;
    for (int i = 0; i < kPaletteEntries; ++i) {
        const TRGBQuad& colour = header.DibInfo().bmiColors[i];
        logical->palPalEntry[i] = PALETTEENTRY{colour.rgbRed, colour.rgbGreen, colour.rgbBlue, 0};
    }
    palette_.reset(CreatePalette(logical));
    return palette_.get();
}
