#include "pictures/PngRowConversion.h"

#include <cstring>

#include "pictures/PngPixelFormat.h"

namespace {

// Indexes and grey levels of 1, 4 or 8 bits are stored as they come.
template <unsigned Bits>
void CopyPacked(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                const TGammaTable&)
{
    std::memcpy(to.dib, row, (static_cast<std::size_t>(pixels) * Bits + 7) / 8);
}

inline unsigned KeepValue(unsigned v) { return v; }
// A 2-bit grey level onto the 16-step ramp: 0, 5, 10, 15 are exactly the
// levels 0, 85, 170 and 255.
inline unsigned WidenGreyLevel(unsigned v) { return v * 5; }

// Sub-byte samples moved one by one to their column, first pixel in the
// highest bits, as the standard and the DIB both pack them.
template <unsigned SrcBits, unsigned DstBits, unsigned (*Map)(unsigned)>
void PlacePacked(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                 const TGammaTable&)
{
    constexpr unsigned mask = (1u << SrcBits) - 1;
    std::size_t column = to.firstColumn;
    for (std::size_t k = 0; k < pixels; ++k, column += to.columnStep) {
        const std::size_t srcBit = k * SrcBits;
        const unsigned value = (row[srcBit / 8] >> (8 - SrcBits - srcBit % 8)) & mask;
        const std::size_t dstBit = column * DstBits;
        to.dib[dstBit / 8] |= static_cast<std::uint8_t>(Map(value) << (8 - DstBits - dstBit % 8));
    }
}

// One byte per DIB pixel: the high byte of the grey (or index) sample, and the
// alpha sample's high byte when there is one.
template <unsigned SrcStep, bool HasAlpha>
void ConvertGrey(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                 const TGammaTable&)
{
    std::uint8_t* dib = to.dib + to.firstColumn;
    std::uint8_t* alpha = HasAlpha ? to.alpha + to.firstColumn : nullptr;
    const std::size_t step = to.columnStep;
    for (std::uint32_t k = 0; k < pixels; ++k, row += SrcStep, dib += step) {
        *dib = row[0];
        if constexpr (HasAlpha) {
            *alpha = row[SrcStep / 2];
            alpha += step;
        }
    }
}

// Truecolour into B, G, R through the gamma table; the sample width is SrcStep
// divided by the channel count, and only the high byte of a 16-bit sample counts.
template <unsigned SrcStep, bool HasAlpha>
void ConvertTruecolour(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                       const TGammaTable& gamma)
{
    constexpr unsigned sample = SrcStep / (HasAlpha ? 4 : 3);
    std::uint8_t* dib = to.dib + static_cast<std::size_t>(to.firstColumn) * 3;
    std::uint8_t* alpha = HasAlpha ? to.alpha + to.firstColumn : nullptr;
    const std::size_t step = to.columnStep;
    for (std::uint32_t k = 0; k < pixels; ++k, row += SrcStep, dib += 3 * step) {
        dib[0] = gamma[row[2 * sample]];
        dib[1] = gamma[row[sample]];
        dib[2] = gamma[row[0]];
        if constexpr (HasAlpha) {
            *alpha = row[3 * sample];
            alpha += step;
        }
    }
}

}  // namespace

RowConverter SelectRowConverter(std::uint8_t colorType, std::uint8_t bitDepth, bool interlaced)
{
    switch (colorType) {
    case kGreyscale:
    case kPalette:
        switch (bitDepth) {
        case 1: return interlaced ? PlacePacked<1, 1, KeepValue> : CopyPacked<1>;
        case 2:
            return colorType == kGreyscale ? PlacePacked<2, 4, WidenGreyLevel>
                                           : PlacePacked<2, 4, KeepValue>;
        case 4: return interlaced ? PlacePacked<4, 4, KeepValue> : CopyPacked<4>;
        case 8: return interlaced ? ConvertGrey<1, false> : CopyPacked<8>;
        case 16: return ConvertGrey<2, false>;
        }
        break;
    case kGreyscaleAlpha: return bitDepth == 16 ? ConvertGrey<4, true> : ConvertGrey<2, true>;
    case kTruecolour: return bitDepth == 16 ? ConvertTruecolour<6, false> : ConvertTruecolour<3, false>;
    case kTruecolourAlpha: return bitDepth == 16 ? ConvertTruecolour<8, true> : ConvertTruecolour<4, true>;
    }
    return nullptr;
}
