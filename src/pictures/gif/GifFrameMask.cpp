#include "pictures/gif/GifFrameMask.h"

#include "pictures/gif/GifSubImage.h"

std::optional<GifFrameMask> BuildFrameMask(const TGIFSubImage& frame)
{
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    if (!frame.Transparent() || control == nullptr || frame.Empty())
        return std::nullopt;
    const std::uint8_t transparent = control->TransparentColorIndex();

    GifFrameMask mask;
    mask.Width = frame.Width();
    mask.Height = frame.Height();
    mask.RowBytes = (mask.Width + 15) / 16 * 2;
    mask.Bits.assign(static_cast<std::size_t>(mask.RowBytes) * static_cast<std::size_t>(mask.Height), 0);
    bool anySet = false;
    for (int y = 0; y < mask.Height; ++y) {
        const auto row = frame.ScanLine(y);
        std::uint8_t* bits = mask.Bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.RowBytes);
        for (int x = 0; x < mask.Width; ++x) {
            if (row[static_cast<std::size_t>(x)] == transparent) {
                bits[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
                anySet = true;
            }
        }
    }
    if (!anySet)
        return std::nullopt;
    return mask;
}
