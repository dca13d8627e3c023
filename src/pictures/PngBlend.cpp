#include "pictures/PngBlend.h"

#include <array>
#include <vector>

#include "pictures/PngPixelFormat.h"
#include "pictures/pngpicture.h"

namespace {

constexpr int kCanvasBytesPerPixel = 4;

struct Bgr {
    std::uint8_t blue, green, red;
};

void BlendPixel(std::uint8_t* dest, const Bgr& source, std::uint8_t alpha)
{
    dest[0] = BlendChannel(source.blue, alpha, dest[0]);
    dest[1] = BlendChannel(source.green, alpha, dest[1]);
    dest[2] = BlendChannel(source.red, alpha, dest[2]);
}

// Fully clear and fully opaque pixels skip the arithmetic (it would give the
// same bytes); palette pixels always take it.
void BlendPixelWithShortcuts(std::uint8_t* dest, const Bgr& source, std::uint8_t alpha)
{
    if (alpha == 0)
        return;
    if (alpha == 255) {
        dest[0] = source.blue;
        dest[1] = source.green;
        dest[2] = source.red;
        return;
    }
    BlendPixel(dest, source, alpha);
}

// The colour and alpha of every index a palette image may hold; indices past
// the PLTE entries have none.
class PaletteColours {
public:
    explicit PaletteColours(const TPngPicture& picture)
    {
        const TChunkPLTE* palette = picture.ChunkItems().FindChunk<TChunkPLTE>();
        const TChunktRNS* transparency = picture.ChunkItems().FindChunk<TChunktRNS>();
        count_ = palette ? palette->Count() : 0;
        for (std::uint32_t i = 0; i < count_; ++i) {
            const TRGBQuad entry = palette->Item(i);
            colours_[i] = Bgr{entry.rgbBlue, entry.rgbGreen, entry.rgbRed};
            alpha_[i] = transparency ? transparency->AlphaByIndex()[i] : 255;
        }
    }

    void Blend(std::uint8_t* dest, std::uint8_t index) const
    {
        if (index >= count_)
            throw EPngError(kNoSuchPaletteEntry);
        BlendPixel(dest, colours_[index], alpha_[index]);
    }

private:
    std::uint32_t count_ = 0;
    std::array<Bgr, 256> colours_{};
    std::array<std::uint8_t, 256> alpha_{};
};

// Walks the canvas, handing each pixel the DIB row, alpha row and column of the
// source pixel it shows; the per-format rule is fixed before the walk.
template <typename BlendSourcePixel>
void BlendStretched(const TChunkIHDR& header, const BlendCanvas& canvas, BlendSourcePixel blend)
{
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(canvas.width));
    for (int x = 0; x < canvas.width; ++x)
        columns[x] = SourceIndex(x, canvas.width, header.Width());
    const bool hasAlpha = header.AlphaPlane() != nullptr;
    for (int y = 0; y < canvas.height; ++y) {
        const std::uint32_t sy = SourceIndex(y, canvas.height, header.Height());
        const std::uint8_t* source = header.ScanLine(sy);
        const std::uint8_t* alpha = hasAlpha ? header.AlphaLine(sy) : nullptr;
        std::uint8_t* dest = canvas.bits + static_cast<std::size_t>(y) * canvas.width * kCanvasBytesPerPixel;
        for (int x = 0; x < canvas.width; ++x, dest += kCanvasBytesPerPixel)
            blend(dest, source, alpha, columns[x]);
    }
}

}  // namespace

std::uint32_t SourceIndex(int dest, int destSize, std::uint32_t sourceSize)
{
    if (static_cast<std::uint32_t>(destSize) == sourceSize)
        return static_cast<std::uint32_t>(dest);
    const double factor = static_cast<double>(destSize) / sourceSize;
    return static_cast<std::uint32_t>(dest / factor);
}

std::uint8_t PaletteIndexAt(const std::uint8_t* row, unsigned bitsPerPixel, std::uint32_t x)
{
    switch (bitsPerPixel) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
        return row[x];
    }
}

void BlendPictureOnto(const TPngPicture& picture, const BlendCanvas& canvas)
{
    const TChunkIHDR& header = picture.Header();
    if (!header.PixelBits())
        return;
    switch (header.ColorType()) {
    case kTruecolourAlpha:
        BlendStretched(header, canvas, [](std::uint8_t* dest, const std::uint8_t* row, const std::uint8_t* alpha,
                                          std::uint32_t x) {
            const std::uint8_t* s = row + x * 3;
            BlendPixelWithShortcuts(dest, Bgr{s[0], s[1], s[2]}, alpha[x]);
        });
        break;
    case kGreyscaleAlpha:
        // The raw grey byte: the grey ramp, and with it gamma, is not applied.
        BlendStretched(header, canvas, [](std::uint8_t* dest, const std::uint8_t* row, const std::uint8_t* alpha,
                                          std::uint32_t x) {
            BlendPixelWithShortcuts(dest, Bgr{row[x], row[x], row[x]}, alpha[x]);
        });
        break;
    case kPalette: {
        const PaletteColours palette(picture);
        const unsigned bitsPerPixel = header.DibInfo().bmiHeader.biBitCount;
        BlendStretched(header, canvas, [&](std::uint8_t* dest, const std::uint8_t* row, const std::uint8_t*,
                                           std::uint32_t x) {
            palette.Blend(dest, PaletteIndexAt(row, bitsPerPixel, x));
        });
        break;
    }
    default:
        break;  // images without alpha or palette transparency are not blended
    }
}
