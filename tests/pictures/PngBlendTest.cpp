// The portable half of PNG drawing: the blend arithmetic, which source pixel
// each destination pixel shows, and blending whole pictures into a buffer.
#include <gtest/gtest.h>

#include <algorithm>

#include "DrawSamples.h"
#include "pictures/PngBlend.h"
#include "pictures/pngpicture.h"

namespace {

TPngPicture& Load(TPngPicture& picture, const Bytes& file)
{
    EXPECT_EQ(LoadOutcome(picture, file), "ok");
    return picture;
}

CanvasPixels Blend(const TPngPicture& picture, int width, int height, CanvasPixels canvas)
{
    BlendPictureOnto(picture, BlendCanvas{reinterpret_cast<std::uint8_t*>(canvas.data()), width, height});
    return canvas;
}

}  // namespace

TEST(PngBlend, ChannelArithmetic)
{
    struct Case {
        int source, alpha, dest, expected;
    };
    for (const Case& c : {Case{200, 128, 100, 150}, Case{255, 128, 0, 128}, Case{0, 128, 255, 127},
                          Case{10, 1, 250, 249}, Case{255, 255, 255, 255}, Case{0, 0, 0, 0}, Case{37, 255, 200, 37},
                          Case{37, 0, 200, 200}})
        EXPECT_EQ(BlendChannel(c.source, c.alpha, c.dest), c.expected)
            << c.source << " at " << c.alpha << " over " << c.dest;

    // Over every input, the shortcuts taken for alpha 0 and 255 give what the
    // arithmetic gives, and no result leaves the range of its two colours.
    for (int s = 0; s < 256; ++s)
        for (int d = 0; d < 256; ++d) {
            ASSERT_EQ(BlendChannel(s, 0, d), d);
            ASSERT_EQ(BlendChannel(s, 255, d), s);
            for (int a = 1; a < 255; ++a) {
                const int result = BlendChannel(s, a, d);
                ASSERT_TRUE(result >= std::min(s, d) && result <= std::max(s, d)) << s << " " << a << " " << d;
            }
        }
}

TEST(PngBlend, SourceIndexTruncatesTheScaledPosition)
{
    struct Case {
        int dest, destSize;
        std::uint32_t sourceSize, expected;
    };
    // 9 / (18 / 14.0) falls just short of 7: the factor is a rounded value.
    for (const Case& c : {Case{63, 64, 64, 63}, Case{127, 128, 64, 63}, Case{1, 128, 64, 0}, Case{2, 128, 64, 1},
                          Case{1, 3, 2, 0}, Case{2, 3, 2, 1}, Case{9, 10, 64, 57}, Case{5, 7, 3, 2},
                          Case{9, 18, 14, 6}})
        EXPECT_EQ(SourceIndex(c.dest, c.destSize, c.sourceSize), c.expected)
            << c.dest << " of " << c.destSize << " from " << c.sourceSize;

    // The rounded factor strays from the exact quotient only where that is a
    // whole number, and then by one below it: never outside the image, and
    // never backwards.
    for (std::uint32_t source = 1; source <= 40; ++source)
        for (int size = 1; size <= 130; ++size) {
            std::uint32_t previous = 0;
            for (int dest = 0; dest < size; ++dest) {
                const std::uint32_t index = SourceIndex(dest, size, source);
                const std::uint32_t exact = static_cast<std::uint32_t>(dest) * source / size;
                const bool whole = static_cast<std::uint32_t>(dest) * source % size == 0;
                ASSERT_TRUE(index == exact || (whole && index + 1 == exact))
                    << dest << " of " << size << " from " << source << ": " << index;
                ASSERT_LT(index, source);
                ASSERT_GE(index, previous);
                previous = index;
            }
        }
}

TEST(PngBlend, PaletteIndexOfEachDibDepth)
{
    const std::uint8_t row[] = {0b10110010, 0x5A, 0xF0};
    struct Case {
        unsigned bits;
        std::uint32_t x;
        int expected;
    };
    for (const Case& c : {Case{1, 0, 1}, Case{1, 1, 0}, Case{1, 3, 1}, Case{1, 6, 1}, Case{1, 7, 0}, Case{1, 9, 1},
                          Case{1, 8, 0}, Case{4, 0, 0xB}, Case{4, 1, 0x2}, Case{4, 2, 0x5}, Case{4, 3, 0xA},
                          Case{4, 4, 0xF}, Case{8, 0, 0xB2}, Case{8, 2, 0xF0}})
        EXPECT_EQ(PaletteIndexAt(row, c.bits, c.x), c.expected) << c.bits << " bits, column " << c.x;
}

TEST(PngBlend, EveryBlendedFormatAtEverySize)
{
    const DrawSample samples[] = {
        RgbaSample(6, 5, 8, 1),          RgbaSample(6, 5, 16, 2),         GreyAlphaSample(6, 5, 8, 3),
        GreyAlphaSample(6, 5, 16, 4),    PaletteAlphaSample(9, 5, 1, 5),  PaletteAlphaSample(9, 5, 2, 6),
        PaletteAlphaSample(9, 5, 4, 7),  PaletteAlphaSample(9, 5, 8, 8),
    };
    struct Size {
        int width, height;
    };
    for (const DrawSample& sample : samples) {
        TPngPicture picture;
        Load(picture, sample.file);
        ASSERT_EQ(picture.AlphaDrawMode(), admBlend) << sample.what;
        const int w = static_cast<int>(sample.width), h = static_cast<int>(sample.height);
        for (const Size size : {Size{w, h}, Size{2 * w, h}, Size{w, 3 * h}, Size{2 * w + 1, 2 * h - 1},
                                Size{w / 2, h / 2}, Size{1, 1}}) {
            const CanvasPixels background = PatternedCanvas(size.width, size.height);
            EXPECT_EQ(Blend(picture, size.width, size.height, background),
                      ReferenceBlend(sample, size.width, size.height, background))
                << sample.what << " into " << size.width << " x " << size.height;
        }
    }
}

TEST(PngBlend, GreyIsTakenRawNotThroughTheGammaRamp)
{
    // 200 at alpha 128 over 100: 150 whatever gamma the file declares.
    TPngPicture picture;
    Load(picture, PngBuilder().Ihdr(1, 1, 8, 4).Chunk("gAMA", BigEndian(100000)).ImageData({0, 200, 128}).Iend());
    ASSERT_NE(picture.Header().DibInfo().bmiColors[200].rgbRed, 200);
    EXPECT_EQ(Blend(picture, 1, 1, {CanvasPixel(100, 100, 100)}), CanvasPixels{CanvasPixel(150, 150, 150)});
}

TEST(PngBlend, PaletteColoursAreTheGammaMappedEntries)
{
    TPngPicture picture;
    Load(picture, PngBuilder()
                      .Ihdr(1, 1, 8, 3)
                      .Chunk("gAMA", BigEndian(100000))
                      .Chunk("PLTE", {64, 128, 200})
                      .Chunk("tRNS", {255})
                      .ImageData({0, 0})
                      .Iend());
    const TGammaTable& gamma = picture.GammaLookup();
    EXPECT_EQ(Blend(picture, 1, 1, {0}), CanvasPixels{CanvasPixel(gamma[64], gamma[128], gamma[200])});
}

TEST(PngBlend, PaletteIndexBeyondTheEntriesIsAnError)
{
    // Two entries; the second pixel uses index 2.
    TPngPicture picture;
    Load(picture, PngBuilder()
                      .Ihdr(2, 1, 8, 3)
                      .Chunk("PLTE", {1, 2, 3, 4, 5, 6})
                      .Chunk("tRNS", {0, 128})
                      .ImageData({0, 1, 2})
                      .Iend());
    ASSERT_EQ(picture.AlphaDrawMode(), admBlend);
    try {
        Blend(picture, 2, 1, {0, 0});
        ADD_FAILURE() << "no exception";
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), "There is no such palette entry.");
    }

    TPngPicture withoutPalette;
    Load(withoutPalette, PngBuilder().Ihdr(1, 1, 8, 3).Chunk("tRNS", {0, 128}).ImageData({0, 0}).Iend());
    EXPECT_THROW(Blend(withoutPalette, 1, 1, {0}), EPngError);
}

TEST(PngBlend, PicturesWithoutAnImageLeaveTheCanvas)
{
    // The header was read, but its image memory could not be had.
    TPngPicture picture;
    const ImageAllocator previous = SetImageAllocator(
        [](const TDibInfo&, std::size_t) -> std::unique_ptr<ImageMemory> { return nullptr; });
    EXPECT_EQ(LoadOutcome(picture, RgbaSample(2, 2, 8, 9).file), "EPNGOutMemory");
    SetImageAllocator(previous);
    EXPECT_EQ(Blend(picture, 2, 1, {7, 8}), (CanvasPixels{7, 8}));
    EXPECT_THROW(Blend(TPngPicture(), 1, 1, {0}), EPNGHeaderNotPresent);
}
