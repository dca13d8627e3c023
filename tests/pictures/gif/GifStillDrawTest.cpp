// Drawing one frame with GDI under Wine: placement, scaling, tiling, the
// transparency mask, palettes, dithering, progress and GDI failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifDrawTestSupport.h"
#include "pictures/gif/GifDrawingState.h"

namespace {

constexpr int TransparentIndex = 37;

// 64 colours unlike each other and unlike the pattern background (blue 0x5A).
std::vector<TGIFColor> DistinctColors(int count)
{
    std::vector<TGIFColor> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back({static_cast<std::uint8_t>(i * 4), static_cast<std::uint8_t>(255 - i * 3),
                          static_cast<std::uint8_t>(i * 2 + 100)});
    return colors;
}

// Diagonal stripes through all 64 indices; skip leaves one index out.
std::uint8_t StripeIndex(int x, int y, int skip = -1)
{
    const int index = (x / 3 + y) % 64;
    return static_cast<std::uint8_t>(index == skip ? 0 : index);
}

Bytes Stripes(int width, int height, int skip = -1)
{
    Bytes indices;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indices.push_back(StripeIndex(x, y, skip));
    return indices;
}

struct StillSpec {
    int screenWidth = 174;
    int screenHeight = 45;
    int left = 0;
    int top = 0;
    int width = 174;
    int height = 45;
    bool transparent = true;
    int transparentIndex = TransparentIndex;
    int skip = -1;
};

std::unique_ptr<TGifPicture> Still(const StillSpec& spec)
{
    ImageSpec image;
    image.left = spec.left;
    image.top = spec.top;
    image.width = spec.width;
    image.height = spec.height;
    image.indices = Stripes(spec.width, spec.height, spec.skip);
    image.lzw.codeSize = 6;
    return LoadPicture(GifWriter()
                           .Header(spec.screenWidth, spec.screenHeight, DistinctColors(64))
                           .GraphicControl(1, spec.transparent, spec.transparentIndex, 20)
                           .Image(image)
                           .Trailer()
                           .Data());
}

// What a frame drawn at (left, top) scaled by scale shows at (x, y), with
// the pixels of index transparent (when masked) left alone.
Rgb Expected(int x, int y, int left, int top, int width, int height, int scale, bool masked,
             int transparent = TransparentIndex)
{
    const int fx = x - left;
    const int fy = y - top;
    if (fx < 0 || fy < 0 || fx >= width * scale || fy >= height * scale)
        return PatternBackground(x, y);
    const int index = StripeIndex(fx / scale, fy / scale);
    if (masked && index == transparent)
        return PatternBackground(x, y);
    return ToRgb(DistinctColors(64)[static_cast<std::size_t>(index)]);
}

}  // namespace

TEST(GifStillDraw, LogoSizedFrameShowsTheBackgroundThroughItsTransparentIndex)
{
    const auto picture = Still({});
    const int threads = ThreadCount();
    {
        DibCanvas canvas(174, 45, PatternBackground);
        picture->Draw(canvas.DC(), {0, 0, 174, 45});
        EXPECT_EQ(canvas.Differences([](int x, int y) { return Expected(x, y, 0, 0, 174, 45, 1, true); }), "");
    }
    {
        // Placed by the rectangle, clipped by nothing else.
        DibCanvas canvas(200, 60, PatternBackground);
        picture->Draw(canvas.DC(), {13, 7, 187, 52});
        EXPECT_EQ(canvas.Differences([](int x, int y) { return Expected(x, y, 13, 7, 174, 45, 1, true); }), "");
    }
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(GifStillDraw, TheAboutLogoAtItsSizeAndDoubled)
{
    const auto logo =
        LoadPicture(ReadFileBytes(std::filesystem::path(TALLYGLASS_SOURCE_DIR) / "resources/fernwick-logo.gif"));
    const TGIFSubImage& frame = logo->Images()[0];
    const TGIFColorMap& table = logo->Header().ColorMap();
    const int threads = ThreadCount();
    for (const int scale : {1, 2}) {
        DibCanvas canvas(174 * scale, 45 * scale, PatternBackground);
        logo->Draw(canvas.DC(), {0, 0, 174 * scale, 45 * scale});
        EXPECT_EQ(canvas.Differences([&](int x, int y) {
            const int index = frame.ScanLine(y / scale)[static_cast<std::size_t>(x / scale)];
            return index == TransparentIndex ? PatternBackground(x, y) : ToRgb(table[index]);
        }),
                  "")
            << "scale " << scale;
    }
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(GifStillDraw, DoubleSizeCoversTwoByTwoPixelsTransparentAreaAlike)
{
    const auto picture = Still({});
    DibCanvas canvas(348, 90, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 348, 90});
    EXPECT_EQ(canvas.Differences([](int x, int y) { return Expected(x, y, 0, 0, 174, 45, 2, true); }), "");
}

TEST(GifStillDraw, OpaqueWhenNoPixelHasTheTransparentIndexOrTransparencyIsOff)
{
    {
        // Transparent, but index 37 nowhere: no mask, drawn opaque.
        const auto picture = Still({.skip = TransparentIndex});
        EXPECT_FALSE(picture->RenderFrame(picture->Images()[0]).FrameMask);
        DibCanvas canvas(174, 45, PatternBackground);
        picture->Draw(canvas.DC(), {0, 0, 174, 45});
        EXPECT_EQ(canvas.Differences(
                      [](int x, int y) { return ToRgb(DistinctColors(64)[StripeIndex(x, y, TransparentIndex)]); }),
                  "");
    }
    for (const bool scaled : {false, true}) {
        // dfTransparent cleared: index 37 in its colour-table colour.
        const auto picture = Still({});
        picture->SetDrawFlags(DefaultDrawFlags & ~dfTransparent);
        const int scale = scaled ? 2 : 1;
        DibCanvas canvas(174 * scale, 45 * scale, PatternBackground);
        picture->Draw(canvas.DC(), {0, 0, 174 * scale, 45 * scale});
        EXPECT_EQ(canvas.Differences([scale](int x, int y) { return Expected(x, y, 0, 0, 174, 45, scale, false); }), "")
            << "scale " << scale;
    }
}

TEST(GifStillDraw, FramesArePlacedScaledFromTheLogicalScreen)
{
    // A 10x10 frame at (5, 5) of a 20x20 screen, into 40x40: (10, 10)-(30, 30).
    const auto picture = Still({20, 20, 5, 5, 10, 10, false});
    DibCanvas canvas(40, 40, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 40, 40});
    EXPECT_EQ(canvas.Differences([](int x, int y) { return Expected(x, y, 10, 10, 10, 10, 2, false); }), "");
}

TEST(GifStillDraw, TilesRepeatTheFrameFromItsOffsetEveryScreenSize)
{
    // Index 5 lies on a stripe of each tile.
    const auto picture = Still({20, 20, 5, 5, 10, 10, true, 5});
    picture->SetDrawFlags(DefaultDrawFlags | dfTile);
    DibCanvas canvas(50, 34, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 45, 30});
    EXPECT_EQ(canvas.Differences([](int x, int y) {
        // Tiles start at 5 and 25 across and down; the last row reaches past 30.
        const int tx = x < 25 ? 5 : 25;
        const int ty = y < 25 ? 5 : 25;
        return Expected(x, y, tx, ty, 10, 10, 1, true, 5);
    }),
              "");
}

TEST(GifStillDraw, TheSelectedFrameIsDrawnWhenNotAnimating)
{
    ImageSpec first;
    first.width = first.height = 2;
    first.indices = Bytes(4, 1);
    first.lzw.codeSize = 2;
    ImageSpec second = first;
    second.indices = Bytes(4, 2);
    second.localTable = {{9, 9, 9}, {8, 8, 8}, {200, 100, 50}, {7, 7, 7}};
    const auto picture =
        LoadPicture(GifWriter().Header(2, 2, GreyTable(2)).Image(first).Image(second).Trailer().Data());
    picture->SetDrawFlags(DefaultDrawFlags & ~dfAnimate);
    const struct {
        int selected;
        Rgb expected;
    } cases[] = {{-1, 0x555555}, {0, 0x555555}, {1, 0xC86432}, {5, 0x555555}};
    for (const auto& c : cases) {
        picture->SetSelectedFrameIndex(c.selected);
        DibCanvas canvas(2, 2, PatternBackground);
        picture->Draw(canvas.DC(), {0, 0, 2, 2});
        EXPECT_EQ(canvas.Differences([&c](int, int) { return c.expected; }), "") << c.selected;
    }
}

TEST(GifStillDraw, IndicesBeyondTheColourTableAreBlack)
{
    ImageSpec image;
    image.width = 4;
    image.height = 1;
    image.indices = {0, 1, 2, 3};
    image.lzw.codeSize = 2;
    const auto picture = LoadPicture(GifWriter().Header(4, 1, GreyTable(1)).Image(image).Trailer().Data());
    DibCanvas canvas(4, 1, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 4, 1});
    EXPECT_THAT(canvas.Pixels(), ::testing::ElementsAre(0x000000, 0xFFFFFF, 0x000000, 0x000000));
}

TEST(GifStillDraw, PaletteComesFromTheColourTables)
{
    const auto entries = [](HPALETTE palette) {
        std::vector<Rgb> colors;
        PALETTEENTRY e[256];
        const UINT n = GetPaletteEntries(palette, 0, 256, e);
        for (UINT i = 0; i < n; ++i)
            colors.push_back(static_cast<Rgb>(e[i].peRed << 16 | e[i].peGreen << 8 | e[i].peBlue));
        return colors;
    };
    ImageSpec image;
    image.width = image.height = 2;
    image.indices = Bytes(4, 1);
    image.lzw.codeSize = 2;

    const auto global = LoadPicture(GifWriter().Header(2, 2, GreyTable(2)).Image(image).Trailer().Data());
    EXPECT_THAT(entries(global->Palette()), ::testing::ElementsAre(0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF));
    EXPECT_EQ(global->Palette(), global->Palette());  // kept

    // Without a global table: the first frame's local one.
    ImageSpec local = image;
    local.localTable = {{1, 2, 3}, {4, 5, 6}};
    const auto firstFrames = LoadPicture(GifWriter().Header(2, 2).Image(local).Image(image).Trailer().Data());
    EXPECT_THAT(entries(firstFrames->Palette()), ::testing::ElementsAre(0x010203, 0x040506));
    // The second frame, without a table of its own, draws in those colours.
    firstFrames->SetDrawFlags(DefaultDrawFlags & ~dfAnimate);
    firstFrames->SetSelectedFrameIndex(1);
    DibCanvas canvas(2, 2, PatternBackground);
    firstFrames->Draw(canvas.DC(), {0, 0, 2, 2});
    EXPECT_EQ(canvas.Pixel(1, 1), 0x040506u);

    // Dithering forced: the fixed palette.
    global->Clear();
    const auto dithered = LoadPicture(GifWriter().Header(2, 2, GreyTable(2)).Image(image).Trailer().Data());
    dithered->SetDrawFlags(dfDither);
    const std::vector<Rgb> fixed = entries(dithered->Palette());
    ASSERT_EQ(fixed.size(), 216u);
    EXPECT_EQ(fixed[1], 0x000033u);
    EXPECT_EQ(fixed[215], 0xFFFFFFu);

    TGifPicture none;
    EXPECT_EQ(none.Palette(), nullptr);
}

TEST(GifStillDraw, NoColourTableAnywhereIsAnError)
{
    ImageSpec image;
    image.width = image.height = 2;
    image.indices = Bytes(4, 1);
    image.lzw.codeSize = 2;
    const auto picture = LoadPicture(GifWriter().Header(2, 2).Image(image).Trailer().Data());
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            picture->Palette();
            ADD_FAILURE() << "no exception";
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "No global or local color table defined");
        }
    }
    DibCanvas canvas(2, 2, PatternBackground);
    EXPECT_THROW(picture->Draw(canvas.DC(), {0, 0, 2, 2}), GIFException);
    // Nothing drawn, and the next draw tries again rather than doing nothing.
    EXPECT_EQ(canvas.Differences(PatternBackground), "");
    EXPECT_THROW(picture->Draw(canvas.DC(), {0, 0, 2, 2}), GIFException);
}

TEST(GifStillDraw, DitheringToTheFixedPaletteTakesTheNearestColours)
{
    const auto picture = Still({});
    picture->SetDrawFlags(dfDither | dfTransparent);
    DibCanvas canvas(174, 45, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 174, 45});
    const auto colors = WebPaletteColors();
    EXPECT_EQ(canvas.Differences([&colors](int x, int y) {
        const int index = StripeIndex(x, y);
        if (index == TransparentIndex)
            return PatternBackground(x, y);
        return ToRgb(colors[NearestWebPaletteIndex(DistinctColors(64)[static_cast<std::size_t>(index)])]);
    }),
              "");
}

TEST(GifStillDraw, RenderingReportsProgressOnceAndKeepsTheBitmap)
{
    const auto picture = Still({.screenHeight = 100, .height = 100});
    std::vector<std::string> progress;
    picture->OnProgress = [&progress](TGraphic&, ProgressStage stage, int percent, const std::string& message) {
        progress.push_back(std::to_string(static_cast<int>(stage)) + " " + std::to_string(percent) + " " + message);
    };
    DibCanvas canvas(174, 100, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 174, 100});
    const HBITMAP bitmap = picture->RenderFrame(picture->Images()[0]).FrameBitmap.get();
    picture->Draw(canvas.DC(), {0, 0, 174, 100});
    EXPECT_THAT(progress, ::testing::ElementsAre("0 0 Rendering...", "1 32 Rendering...", "1 64 Rendering...",
                                                 "1 96 Rendering...", "2 100 Rendering..."));
    EXPECT_EQ(picture->RenderFrame(picture->Images()[0]).FrameBitmap.get(), bitmap);
}

TEST(GifStillDraw, BitmapsThatGdiCannotMakeRaiseTheGifError)
{
    const auto picture = Still({});
    DibCanvas canvas(174, 45, PatternBackground);
    std::vector<HBITMAP> hoard;
    while (HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr))
        hoard.push_back(bitmap);
    std::optional<std::string> error;
    try {
        picture->Draw(canvas.DC(), {0, 0, 174, 45});
    } catch (const GIFException& e) {
        error = e.what();
    }
    for (HBITMAP bitmap : hoard)
        DeleteObject(bitmap);
    EXPECT_EQ(error, "Failed to allocate memory for GIF DIB");
    // With room again the picture draws.
    picture->Draw(canvas.DC(), {0, 0, 174, 45});
    EXPECT_EQ(canvas.Differences([](int x, int y) { return Expected(x, y, 0, 0, 174, 45, 1, true); }), "");
}
