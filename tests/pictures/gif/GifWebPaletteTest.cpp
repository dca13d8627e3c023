// The fixed 216-colour palette and the choice of dithering.
#include <gtest/gtest.h>

#include <set>

#include "GifTestSupport.h"

TEST(GifWebPalette, SixLevelsPerPrimaryRedMajor)
{
    const auto colors = WebPaletteColors();
    EXPECT_EQ(colors[0], (TGIFColor{0, 0, 0}));
    EXPECT_EQ(colors[1], (TGIFColor{0, 0, 51}));
    EXPECT_EQ(colors[6], (TGIFColor{0, 51, 0}));
    EXPECT_EQ(colors[36], (TGIFColor{51, 0, 0}));
    EXPECT_EQ(colors[215], (TGIFColor{255, 255, 255}));
    std::set<std::tuple<int, int, int>> distinct;
    for (const TGIFColor& c : colors) {
        EXPECT_EQ(c.Red % 51 + c.Green % 51 + c.Blue % 51, 0);
        distinct.insert({c.Red, c.Green, c.Blue});
    }
    EXPECT_EQ(distinct.size(), 216u);
}

TEST(GifWebPalette, EveryColourGoesToItsNearestEntry)
{
    const auto colors = WebPaletteColors();
    const auto distance = [](const TGIFColor& a, const TGIFColor& b) {
        const int r = a.Red - b.Red, g = a.Green - b.Green, bl = a.Blue - b.Blue;
        return r * r + g * g + bl * bl;
    };
    for (int v = 0; v < 256; v += 5) {
        const TGIFColor color{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                              static_cast<std::uint8_t>(v * 7 % 256)};
        const std::uint8_t chosen = NearestWebPaletteIndex(color);
        for (const TGIFColor& other : colors)
            EXPECT_LE(distance(color, colors[chosen]), distance(color, other)) << v;
    }
    // Halfway between two levels: 25 rounds down, 26 up.
    EXPECT_EQ(NearestWebPaletteIndex({25, 26, 0}), 6);
}

TEST(GifWebPalette, FrameIndicesMapThroughTheirColours)
{
    const std::vector<TGIFColor> table = {{255, 0, 0}, {10, 10, 10}, {200, 200, 90}};
    const std::vector<std::uint8_t> indices = {0, 1, 2, 2, 7};
    EXPECT_EQ(MapToWebPalette(indices, table), (std::vector<std::uint8_t>{180, 0, 4 * 36 + 4 * 6 + 2, 170, 0}));
}

TEST(GifWebPalette, DitheringNeedsTheFlagAndAPaletteDisplayUnlessForced)
{
    const struct {
        TGIFDrawOptions options;
        bool paletted;
        bool expected;
    } cases[] = {
        {DefaultDrawFlags, false, false}, {DefaultDrawFlags, true, true}, {dfDither, false, true},
        {dfDither, true, true},           {dfAutoDither, true, false},    {0, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DitherApplies(c.options, c.paletted), c.expected) << c.options << " " << c.paletted;
}
