#include "PngToRgba.h"

namespace {

// The colour-table index of DIB column x, for 1, 4 and 8 bits per pixel.
unsigned IndexAt(const std::uint8_t* row, std::uint32_t x, unsigned bits)
{
    const std::size_t bit = static_cast<std::size_t>(x) * bits;
    return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

}  // namespace

RgbaImage PngToRgba(const TPngPicture& picture)
{
    const TChunkIHDR& header = picture.Header();
    const unsigned bits = header.DibInfo().bmiHeader.biBitCount;
    const TRGBQuad* table = header.DibInfo().bmiColors;
    const TChunktRNS* transparency = picture.ChunkItems().FindChunk<TChunktRNS>();
    const bool alphaByIndex = header.ColorType() == 3 && transparency;

    RgbaImage image;
    image.width = header.Width();
    image.height = header.Height();
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    std::uint8_t* out = image.pixels.data();
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = header.ScanLine(y);
        const std::uint8_t* alpha = header.AlphaPlane() ? header.AlphaLine(y) : nullptr;
        for (std::uint32_t x = 0; x < image.width; ++x, out += 4) {
            std::uint8_t a = alpha ? alpha[x] : 255;
            if (bits == 24) {
                out[0] = row[3 * x + 2];
                out[1] = row[3 * x + 1];
                out[2] = row[3 * x];
            } else {
                const unsigned index = IndexAt(row, x, bits);
                out[0] = table[index].rgbRed;
                out[1] = table[index].rgbGreen;
                out[2] = table[index].rgbBlue;
                if (alphaByIndex)
                    a = transparency->AlphaByIndex()[index];
            }
            out[3] = a;
        }
    }
    return image;
}
