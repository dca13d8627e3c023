// Images made with libpng's writer for every colour type, bit depth and
// interlace method, read back and compared with libpng's own decode.
#include <gtest/gtest.h>

#include "LibpngOracle.h"
#include "PngBuilder.h"
#include "PngToRgba.h"
#include "pictures/pngpicture.h"

namespace {

struct Layout {
    int colorType;
    int bitDepth;
    unsigned dibBits;
    bool alphaPlane;
};

// The DIB each allowed colour type and bit depth decodes into.
const Layout kLayouts[] = {
    {0, 1, 1, false},  {0, 2, 4, false},  {0, 4, 4, false},  {0, 8, 8, false}, {0, 16, 8, false},
    {3, 1, 1, false},  {3, 2, 4, false},  {3, 4, 4, false},  {3, 8, 8, false},
    {4, 8, 8, true},   {4, 16, 8, true},  {2, 8, 24, false}, {2, 16, 24, false},
    {6, 8, 24, true},  {6, 16, 24, true},
};

class Noise {
public:
    std::uint8_t Next()
    {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(state_ >> 16);
    }

private:
    std::uint32_t state_ = 12345;
};

unsigned Channels(int colorType)
{
    switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

PngImageSpec RandomImage(const Layout& layout, bool interlaced, std::uint32_t width, std::uint32_t height)
{
    PngImageSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = layout.colorType;
    spec.bitDepth = layout.bitDepth;
    spec.interlaced = interlaced;
    Noise noise;
    const std::size_t rowBytes = (width * layout.bitDepth * Channels(layout.colorType) + 7) / 8;
    for (std::uint32_t y = 0; y < height; ++y) {
        Bytes row(rowBytes);
        for (auto& b : row)
            b = noise.Next();
        spec.rows.push_back(row);
    }
    if (layout.colorType == 3)
        for (int i = 0; i < 3 * (1 << layout.bitDepth); ++i)
            spec.palette.push_back(noise.Next());
    return spec;
}

// Decodes the file, checks the DIB's layout and compares the pixels with libpng's.
void ExpectDecodesLikeLibpng(const Bytes& file, const Layout& layout)
{
    ASSERT_FALSE(file.empty());
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, file), "ok");
    const TChunkIHDR& header = picture.Header();
    const auto& info = header.DibInfo().bmiHeader;
    EXPECT_EQ(info.biBitCount, layout.dibBits);
    EXPECT_EQ(info.biHeight, static_cast<int>(header.Height()));  // bottom-up
    EXPECT_EQ(header.RowStride(), ((layout.dibBits * header.Width() + 31) / 32) * 4);
    EXPECT_EQ(header.AlphaPlane() != nullptr, layout.alphaPlane);

    const auto oracle = DecodeWithLibpng(file);
    ASSERT_TRUE(oracle.has_value());
    EXPECT_EQ(FirstDifference(ApplyReaderConversions(picture, *oracle), PngToRgba(picture)), "");
}

std::string Describe(const Layout& layout, bool interlaced)
{
    return "colour type " + std::to_string(layout.colorType) + ", depth " +
           std::to_string(layout.bitDepth) + (interlaced ? ", Adam7" : "");
}

}  // namespace

TEST(GeneratedPng, EveryColourTypeDepthAndInterlaceMethodDecodesLikeLibpng)
{
    for (const Layout& layout : kLayouts)
        for (bool interlaced : {false, true})
            for (auto [width, height] : {std::pair{13u, 11u}, std::pair{1u, 1u}, std::pair{3u, 9u}}) {
                SCOPED_TRACE(Describe(layout, interlaced) + ", " + std::to_string(width) + "x" +
                             std::to_string(height));
                ExpectDecodesLikeLibpng(EncodeWithLibpng(RandomImage(layout, interlaced, width, height)), layout);
            }
}

TEST(GeneratedPng, GammaReachesTruecolourPalettesAndTheGreyRampButNotAlpha)
{
    for (const Layout& layout : kLayouts)
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(Describe(layout, interlaced));
            PngImageSpec spec = RandomImage(layout, interlaced, 17, 5);
            spec.gamma = 1.0;  // far from the 2.2 display: a strong curve
            const Bytes file = EncodeWithLibpng(spec);
            ExpectDecodesLikeLibpng(file, layout);
            TPngPicture picture;
            ASSERT_EQ(LoadOutcome(picture, file), "ok");
            EXPECT_NE(picture.GammaLookup()[128], 128);
        }
}

TEST(GeneratedPng, TransparencyKeysAndPaletteAlphaMatchLibpng)
{
    for (const Layout& layout : kLayouts) {
        if (layout.colorType == 4 || layout.colorType == 6)
            continue;
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(Describe(layout, interlaced));
            PngImageSpec spec = RandomImage(layout, interlaced, 9, 7);
            if (layout.colorType == 3)
                spec.transparency = {0, 128, 255, 7};
            else if (layout.colorType == 0)
                spec.transparency = {0, 1};
            else
                spec.transparency = {0, 1, 0, 2, 0, 3};
            ExpectDecodesLikeLibpng(EncodeWithLibpng(spec), layout);
        }
    }
}

TEST(GeneratedPng, TheProgramIconShapeIsA24BitDibWithA4096ByteAlphaPlane)
{
    const Layout rgba8{6, 8, 24, true};
    const Bytes file = EncodeWithLibpng(RandomImage(rgba8, false, 64, 64));
    ExpectDecodesLikeLibpng(file, rgba8);
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, file), "ok");
    EXPECT_EQ(picture.Header().RowStride() * 64, 64u * 64 * 3);
    EXPECT_EQ(picture.AlphaDrawMode(), admBlend);
    EXPECT_TRUE(picture.Transparent());
}
