#include "pictures/PngRowConversion.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TALLYGLASS_SSSE3_ROWS 1
#endif

#include "pictures/PngPixelFormat.h"

namespace {

// The column step: a constant 1 for rows of a non-interlaced image, so that
// the compiler can unroll and vectorise those loops, or the pass's step.
struct UnitStep {
    static constexpr std::size_t Of(const RowDestination&) { return 1; }
};
struct PassStep {
    static std::size_t Of(const RowDestination& to) { return to.columnStep; }
};

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
template <unsigned SrcStep, bool HasAlpha, class Step>
void ConvertGrey(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                 const TGammaTable&)
{
    std::uint8_t* dib = to.dib + to.firstColumn;
    std::uint8_t* alpha = HasAlpha ? to.alpha + to.firstColumn : nullptr;
    const std::size_t step = Step::Of(to);
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
// Without a gAMA chunk the table is the identity and the lookup is left out,
// which lets the compiler move whole vectors.
template <unsigned SrcStep, bool HasAlpha, bool UseGamma, class Step>
void ConvertTruecolour(const std::uint8_t* row, std::uint32_t pixels, const RowDestination& to,
                       const TGammaTable& gamma)
{
    constexpr unsigned sample = SrcStep / (HasAlpha ? 4 : 3);
    std::uint8_t* dib = to.dib + static_cast<std::size_t>(to.firstColumn) * 3;
    std::uint8_t* alpha = HasAlpha ? to.alpha + to.firstColumn : nullptr;
    const std::size_t step = Step::Of(to);
    for (std::uint32_t k = 0; k < pixels; ++k, row += SrcStep, dib += 3 * step) {
        if constexpr (UseGamma) {
            dib[0] = gamma[row[2 * sample]];
            dib[1] = gamma[row[sample]];
            dib[2] = gamma[row[0]];
        } else {
            dib[0] = row[2 * sample];
            dib[1] = row[sample];
            dib[2] = row[0];
        }
        if constexpr (HasAlpha) {
            *alpha = row[3 * sample];
            alpha += step;
        }
    }
}

#ifdef TALLYGLASS_SSSE3_ROWS
// Whole rows of 8-bit truecolour without gamma, the common case, turned into
// B, G, R (and the alpha plane) sixteen bytes at a time. Each store may write
// a few bytes past the pixels it converts; the next step or the scalar tail
// writes them again, and the loop stops early enough to stay inside the row.
__attribute__((target("ssse3"))) void ConvertRgb8Ssse3(const std::uint8_t* row, std::uint32_t pixels,
                                                       const RowDestination& to, const TGammaTable&)
{
    const __m128i toBgr = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::uint8_t* dib = to.dib;
    std::size_t k = 0;
    for (; k + 6 <= pixels; k += 5) {
        const __m128i rgb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 3 * k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dib + 3 * k), _mm_shuffle_epi8(rgb, toBgr));
    }
    for (; k < pixels; ++k) {
        dib[3 * k] = row[3 * k + 2];
        dib[3 * k + 1] = row[3 * k + 1];
        dib[3 * k + 2] = row[3 * k];
    }
}

__attribute__((target("ssse3"))) void ConvertRgba8Ssse3(const std::uint8_t* row, std::uint32_t pixels,
                                                        const RowDestination& to, const TGammaTable&)
{
    const __m128i toBgr = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m128i toAlpha = _mm_setr_epi8(3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    std::uint8_t* dib = to.dib;
    std::size_t k = 0;
    for (; k + 6 <= pixels; k += 4) {
        const __m128i rgba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dib + 3 * k), _mm_shuffle_epi8(rgba, toBgr));
        const std::uint32_t alpha = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi8(rgba, toAlpha)));
        std::memcpy(to.alpha + k, &alpha, 4);
    }
    for (; k < pixels; ++k) {
        dib[3 * k] = row[4 * k + 2];
        dib[3 * k + 1] = row[4 * k + 1];
        dib[3 * k + 2] = row[4 * k];
        to.alpha[k] = row[4 * k + 3];
    }
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

template <unsigned SrcStep, bool HasAlpha>
RowConverter GreyConverter(bool interlaced)
{
    return interlaced ? ConvertGrey<SrcStep, HasAlpha, PassStep> : ConvertGrey<SrcStep, HasAlpha, UnitStep>;
}

template <unsigned SrcStep, bool HasAlpha>
RowConverter TruecolourConverter(bool interlaced, bool identityGamma)
{
    if (interlaced)
        return identityGamma ? ConvertTruecolour<SrcStep, HasAlpha, false, PassStep>
                             : ConvertTruecolour<SrcStep, HasAlpha, true, PassStep>;
#ifdef TALLYGLASS_SSSE3_ROWS
    if (identityGamma && HasSsse3()) {
        if constexpr (SrcStep == 3)
            return ConvertRgb8Ssse3;
        if constexpr (SrcStep == 4)
            return ConvertRgba8Ssse3;
    }
#endif
    return identityGamma ? ConvertTruecolour<SrcStep, HasAlpha, false, UnitStep>
                         : ConvertTruecolour<SrcStep, HasAlpha, true, UnitStep>;
}

}  // namespace

RowConverter SelectRowConverter(std::uint8_t colorType, std::uint8_t bitDepth, bool interlaced,
                                bool identityGamma)
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
        case 8: return interlaced ? ConvertGrey<1, false, PassStep> : CopyPacked<8>;
        case 16: return GreyConverter<2, false>(interlaced);
        }
        break;
    case kGreyscaleAlpha: return bitDepth == 16 ? GreyConverter<4, true>(interlaced) : GreyConverter<2, true>(interlaced);
    case kTruecolour:
        return bitDepth == 16 ? TruecolourConverter<6, false>(interlaced, identityGamma)
                              : TruecolourConverter<3, false>(interlaced, identityGamma);
    case kTruecolourAlpha:
        return bitDepth == 16 ? TruecolourConverter<8, true>(interlaced, identityGamma)
                              : TruecolourConverter<4, true>(interlaced, identityGamma);
    }
    return nullptr;
}
