// The portable arithmetic of drawing GIF pictures: placement, tiles, masks
// and animation timing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "GifTestSupport.h"

using ::testing::ElementsAre;

namespace {

// A picture of one frame at (left, top) on a screen of the given size, with
// a Graphic Control Extension when a transparent index or a delay is given.
std::unique_ptr<TGifPicture> OneFrame(int screenWidth, int screenHeight, int left, int top, int width,
                                      const Bytes& indices, std::optional<int> transparentIndex,
                                      std::optional<int> delay = std::nullopt)
{
    ImageSpec image;
    image.left = left;
    image.top = top;
    image.width = width;
    image.height = static_cast<int>(indices.size()) / width;
    image.indices = indices;
    image.lzw.codeSize = 2;
    GifWriter writer;
    writer.Header(screenWidth, screenHeight, GreyTable(2));
    if (transparentIndex || delay)
        writer.GraphicControl(1, transparentIndex.has_value(), transparentIndex.value_or(0), delay.value_or(0));
    LoadResult result = LoadGif(writer.Image(image).Trailer().Data());
    EXPECT_FALSE(result.error);
    return std::move(result.picture);
}

}  // namespace

TEST(GifDrawingArithmetic, MulDivRoundsHalvesAwayFromZero)
{
    const struct {
        int number, numerator, denominator, expected;
    } cases[] = {
        {5, 40, 20, 10},   {15, 40, 20, 30}, {1, 3, 2, 2},         {-1, 3, 2, -2},        {1, -3, 2, -2},
        {-1, -3, 2, 2},    {1, 3, -2, -2},   {2, 1, 3, 1},         {1, 1, 3, 0},          {0, 5, 7, 0},
        {7, 1, 0, -1},     {1 << 30, 4, 1, -1}, {1 << 30, 4, 2, -1}, {-(1 << 30), 4, 2, -1}, {174, 348, 174, 348},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GifMulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
#ifdef _WIN32
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << "Windows' MulDiv for " << c.number << " * " << c.numerator << " / " << c.denominator;
#endif
    }
}

TEST(GifDrawingArithmetic, FramesArePlacedByScalingTheirEdges)
{
    const auto offset = OneFrame(20, 20, 5, 5, 10, Bytes(100, 1), std::nullopt);
    EXPECT_EQ(PlaceFrame(offset->Images()[0], 20, 20, {0, 0, 40, 40}), (GifRect{10, 10, 30, 30}));
    EXPECT_EQ(PlaceFrame(offset->Images()[0], 20, 20, {100, 50, 120, 70}), (GifRect{105, 55, 115, 65}));

    const auto logo = OneFrame(174, 45, 0, 0, 174, Bytes(174 * 45, 2), 37);
    EXPECT_EQ(PlaceFrame(logo->Images()[0], 174, 45, {0, 0, 174, 45}), (GifRect{0, 0, 174, 45}));
    EXPECT_EQ(PlaceFrame(logo->Images()[0], 174, 45, {7, 3, 355, 93}), (GifRect{7, 3, 355, 93}));
    // Odd scales round each edge on its own.
    EXPECT_EQ(PlaceFrame(offset->Images()[0], 20, 20, {0, 0, 7, 7}), (GifRect{2, 2, 5, 5}));
}

TEST(GifDrawingArithmetic, TilesStartInsideTheRectangle)
{
    // A 10x10 frame at (5, 5) of a 20x20 screen, tiled over 45x30.
    EXPECT_THAT(TileRects({0, 0, 45, 30}, 5, 5, 10, 10, 20, 20),
                ElementsAre(GifRect{5, 5, 15, 15}, GifRect{25, 5, 35, 15}, GifRect{5, 25, 15, 35},
                            GifRect{25, 25, 35, 35}));
    // The buffer of a 20x20 screen tiled over 50x20: the last tile reaches past the edge.
    EXPECT_THAT(TileRects({0, 0, 50, 20}, 0, 0, 20, 20, 20, 20),
                ElementsAre(GifRect{0, 0, 20, 20}, GifRect{20, 0, 40, 20}, GifRect{40, 0, 60, 20}));
    EXPECT_THAT(TileRects({10, 10, 30, 30}, 0, 0, 20, 20, 20, 20), ElementsAre(GifRect{10, 10, 30, 30}));
    EXPECT_THAT(TileRects({0, 0, 10, 10}, 20, 0, 5, 5, 20, 20), ::testing::IsEmpty());
    // No step: one tile per row and column instead of an endless loop.
    EXPECT_THAT(TileRects({0, 0, 50, 50}, 0, 0, 5, 5, 0, 0), ElementsAre(GifRect{0, 0, 5, 5}));
}

TEST(GifDrawingArithmetic, MaskRowsAreWordAlignedMostSignificantBitFirst)
{
    // 18 pixels a row: two 16-bit words, 4 bytes.
    Bytes indices(18 * 2, 0);
    for (const int x : {0, 7, 8, 16, 17})
        indices[static_cast<std::size_t>(x)] = 3;
    indices[18 + 9] = 3;
    const auto picture = OneFrame(18, 2, 0, 0, 18, indices, 3);
    const std::optional<GifFrameMask> mask = BuildFrameMask(picture->Images()[0]);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->RowBytes, 4);
    EXPECT_THAT(mask->Bits, ElementsAre(0x81, 0x80, 0xC0, 0x00, 0x00, 0x40, 0x00, 0x00));

    // No pixel of the transparent index, or no transparency: no mask, drawn opaque.
    EXPECT_FALSE(BuildFrameMask(OneFrame(18, 2, 0, 0, 18, Bytes(36, 1), 3)->Images()[0]));
    EXPECT_FALSE(BuildFrameMask(OneFrame(18, 2, 0, 0, 18, indices, std::nullopt)->Images()[0]));
}

TEST(GifDrawingArithmetic, AnimationTiming)
{
    const struct {
        std::optional<int> delay;  // none: no Graphic Control Extension
        bool threaded;
        int expected;
    } delays[] = {
        {std::nullopt, true, 10}, {0, true, 10},       {1, true, 3},
        {20, false, 20},          {2000, true, 2000},  {2000, false, 1000},
    };
    for (const auto& d : delays) {
        const auto picture = OneFrame(2, 2, 0, 0, 2, Bytes(4, 0), std::nullopt, d.delay);
        EXPECT_EQ(FrameDelayUnits(picture->Images()[0], d.threaded), d.expected) << d.delay.value_or(-1);
    }

    const struct {
        int delayUnits, elapsedMs, speedPercent;
        bool threaded;
        std::optional<int> expected;
    } waits[] = {
        {10, 0, 100, true, 120},  {10, 41, 100, true, 100}, {10, 0, 200, true, 60},   {10, 0, 50, false, 240},
        {10, 1000, 100, true, 0}, {10, 1000, 100, false, 1}, {10, 0, 0, true, std::nullopt}, {10, 0, 0, false, 12000},
    };
    for (const auto& w : waits)
        EXPECT_EQ(PainterWaitMs(w.delayUnits, w.elapsedMs, w.speedPercent, w.threaded), w.expected)
            << w.delayUnits << " units, " << w.elapsedMs << " ms elapsed, speed " << w.speedPercent;
}

TEST(GifDrawingArithmetic, SelectedFrameFallsBackToTheFirst)
{
    TGifPicture empty;
    EXPECT_EQ(empty.SelectedFrame(), nullptr);

    ImageSpec image;
    image.width = 2;
    image.height = 2;
    image.indices = Bytes(4, 1);
    image.lzw.codeSize = 2;
    const LoadResult two = LoadGif(GifWriter().Header(2, 2, GreyTable(1)).Image(image).Image(image).Trailer().Data());
    ASSERT_EQ(two.picture->Images().Count(), 2u);
    const struct {
        int selected;
        std::size_t drawn;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {2, 0}, {-7, 0}};
    for (const auto& c : cases) {
        two.picture->SetSelectedFrameIndex(c.selected);
        EXPECT_EQ(two.picture->SelectedFrame(), &two.picture->Images()[c.drawn]) << c.selected;
    }
}
