// The GIF branch of picture2pam: which colours and alpha a frame turns into.
#include <gtest/gtest.h>

#include "../pictures/gif/GifWriter.h"
#include "GifToRgba.h"
#include "pictures/gifpicture.h"

TEST(GifToRgba, ColoursThroughTheFramesTableAndAlphaFromItsTransparentIndex)
{
    const std::vector<TGIFColor> global = {{10, 20, 30}, {40, 50, 60}};
    ImageSpec first;
    first.width = 3;
    first.height = 1;
    first.indices = {0, 1, 3};  // 3 lies beyond the global table
    first.lzw.codeSize = 2;
    ImageSpec second = first;
    second.localTable = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    second.indices = {2, 3, 1};
    const Bytes bytes =
        GifWriter().Header(3, 1, global).Image(first).GraphicControl(0, true, 3, 0).Image(second).Trailer().Data();

    const RgbaImage opaque = GifToRgba(bytes, 0);
    EXPECT_EQ(opaque.width, 3u);
    EXPECT_EQ(opaque.height, 1u);
    EXPECT_EQ(opaque.pixels, (Bytes{10, 20, 30, 255, 40, 50, 60, 255, 0, 0, 0, 255}));
    const RgbaImage local = GifToRgba(bytes, 1);
    EXPECT_EQ(local.pixels, (Bytes{7, 8, 9, 255, 10, 11, 12, 0, 4, 5, 6, 255}));

    EXPECT_THROW(GifToRgba(bytes, 2), std::runtime_error);
    EXPECT_THROW(GifToRgba(Bytes(bytes.begin(), bytes.begin() + 8), 0), GIFException);
}
