// Drawing PNG pictures with real GDI: every drawing mode onto a 32-bit memory
// canvas whose pixels are read back, the image memory in DIB sections, the
// palette, and the resources drawing takes and gives back.
#include <gtest/gtest.h>

#include <optional>

#include "DrawSamples.h"
#include "TestCanvas.h"
#include "TestData.h"
#include "pictures/DibSectionImage.h"
#include "pictures/pngpicture.h"
#include "ui/Color.h"  // also proves the toolkit's colours and the pictures' agree

namespace {

constexpr std::uint32_t kGrey = CanvasPixel(100, 100, 100);

// Every picture in these tests decodes into a DIB section, as in the program.
class PngDraw : public testing::Test {
protected:
    void SetUp() override { UsePngDibSections(); }
    void TearDown() override { SetImageAllocator({}); }

    TPngPicture& Load(const Bytes& file)
    {
        EXPECT_EQ(LoadOutcome(picture_, file), "ok");
        return picture_;
    }

    TPngPicture picture_;
};

// The canvas after drawing `picture` into `rect` over `background`.
CanvasPixels DrawnOver(TPngPicture& picture, int width, int height, const CanvasPixels& background,
                       const RECT& rect)
{
    TestCanvas canvas(width, height, background);
    picture.Draw(canvas.DC(), rect);
    return canvas.Pixels();
}

CanvasPixels ExpectedBlend(const DrawSample& sample, int width, const CanvasPixels& background, const RECT& rect)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    return Pasted(background, width, ReferenceBlend(sample, w, h, Cut(background, width, rect)), rect);
}

// A palette image whose entry 0 alone is transparent: entries red, green,
// red again (opaque) and blue; rows 0 1 2 3 and 3 2 1 0.
Bytes PaletteWithOneClearEntry()
{
    return PngBuilder()
        .Ihdr(4, 2, 8, 3)
        .Chunk("PLTE", {255, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255})
        .Chunk("tRNS", {0})
        .ImageData(WithFilterByte({{0, 1, 2, 3}, {3, 2, 1, 0}}, 0))
        .Iend();
}

Bytes OpaqueRgb()
{
    return PngBuilder()
        .Ihdr(3, 2, 8, 2)
        .ImageData(WithFilterByte({{10, 20, 30, 40, 50, 60, 70, 80, 90}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, 0))
        .Iend();
}

std::vector<DWORD> MetafileRecords(HENHMETAFILE metafile, std::optional<DWORD>* stretchMode)
{
    struct Seen {
        std::vector<DWORD> types;
        std::optional<DWORD>* stretchMode;
    } seen{{}, stretchMode};
    EnumEnhMetaFile(
        nullptr, metafile,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
            auto* s = reinterpret_cast<Seen*>(data);
            s->types.push_back(record->iType);
            if (record->iType == EMR_SETSTRETCHBLTMODE)
                *s->stretchMode = reinterpret_cast<const EMRSETSTRETCHBLTMODE*>(record)->iMode;
            return 1;
        },
        &seen, nullptr);
    return seen.types;
}

}  // namespace

TEST_F(PngDraw, AnIconBlendsOverGreyAsTheArithmeticSays)
{
    // Alpha 0 shows the grey, 255 the colour, 128 of 200 over 100 gives 150.
    Load(PngBuilder()
             .Ihdr(3, 1, 8, 6)
             .ImageData(WithFilterByte({{200, 200, 200, 128, 10, 20, 30, 255, 90, 90, 90, 0}}, 0))
             .Iend());
    EXPECT_EQ(DrawnOver(picture_, 3, 1, CanvasPixels(3, kGrey), {0, 0, 3, 1}),
              (CanvasPixels{CanvasPixel(150, 150, 150), CanvasPixel(10, 20, 30), kGrey}));

    // A 64 x 64 icon, into its own size and stretched to twice its width.
    const DrawSample icon = RgbaSample(64, 64, 8, 11);
    Load(icon.file);
    const CanvasPixels grey(140 * 72, kGrey);
    for (const RECT rect : {RECT{8, 4, 72, 68}, RECT{8, 4, 136, 68}})
        EXPECT_EQ(DrawnOver(picture_, 140, 72, grey, rect), ExpectedBlend(icon, 140, grey, rect))
            << rect.right - rect.left << " wide";

    const CanvasPixels doubled = DrawnOver(picture_, 128, 64, CanvasPixels(128 * 64, kGrey), {0, 0, 128, 64});
    for (std::size_t i = 0; i < doubled.size(); i += 2)
        ASSERT_EQ(doubled[i], doubled[i + 1]) << "column " << i % 128 << " row " << i / 128;
}

TEST_F(PngDraw, EveryBlendedFormatOverAPatternedCanvas)
{
    const DrawSample samples[] = {RgbaSample(7, 5, 16, 21), GreyAlphaSample(7, 5, 8, 22),
                                  GreyAlphaSample(7, 5, 16, 23), PaletteAlphaSample(7, 5, 1, 24),
                                  PaletteAlphaSample(7, 5, 2, 25), PaletteAlphaSample(7, 5, 4, 26),
                                  PaletteAlphaSample(7, 5, 8, 27)};
    const CanvasPixels background = PatternedCanvas(20, 16);
    for (const DrawSample& sample : samples) {
        Load(sample.file);
        ASSERT_EQ(picture_.AlphaDrawMode(), admBlend) << sample.what;
        for (const RECT rect : {RECT{1, 2, 8, 7}, RECT{0, 0, 20, 16}, RECT{3, 1, 6, 4}})
            EXPECT_EQ(DrawnOver(picture_, 20, 16, background, rect), ExpectedBlend(sample, 20, background, rect))
                << sample.what << " into " << rect.right - rect.left << " x " << rect.bottom - rect.top;
    }
}

TEST_F(PngDraw, ReversedRectanglesDrawAsNormalisedAndEmptyOnesNotAtAll)
{
    const CanvasPixels background = PatternedCanvas(12, 10);
    const Bytes files[] = {RgbaSample(4, 3, 8, 31).file, PaletteWithOneClearEntry()};
    for (const Bytes& file : files) {
        Load(file);
        const CanvasPixels normal = DrawnOver(picture_, 12, 10, background, {2, 1, 10, 7});
        EXPECT_NE(normal, background);
        EXPECT_EQ(DrawnOver(picture_, 12, 10, background, {10, 1, 2, 7}), normal);
        EXPECT_EQ(DrawnOver(picture_, 12, 10, background, {2, 7, 10, 1}), normal);
        EXPECT_EQ(DrawnOver(picture_, 12, 10, background, {10, 7, 2, 1}), normal);
    }
    for (const Bytes& file : {files[0], files[1], OpaqueRgb()}) {
        Load(file);
        EXPECT_EQ(DrawnOver(picture_, 12, 10, background, {5, 1, 5, 7}), background) << picture_.AlphaDrawMode();
        EXPECT_EQ(DrawnOver(picture_, 12, 10, background, {2, 4, 10, 4}), background) << picture_.AlphaDrawMode();
    }
}

TEST_F(PngDraw, OneClearPaletteEntryIsDrawnThroughTheMask)
{
    // Index 2 has the clear entry's colour: it shows the background as well.
    Load(PaletteWithOneClearEntry());
    ASSERT_EQ(picture_.AlphaDrawMode(), admColorKey);
    const CanvasPixels background = PatternedCanvas(8, 4);
    const std::uint32_t green = CanvasPixel(0, 255, 0), blue = CanvasPixel(0, 0, 255);
    const std::optional<std::uint32_t> shown[2][4] = {{{}, green, {}, blue}, {blue, {}, green, {}}};
    for (const int scale : {1, 2}) {
        const CanvasPixels drawn = DrawnOver(picture_, 8, 4, background, {0, 0, 4 * scale, 2 * scale});
        for (int y = 0; y < 2 * scale; ++y)
            for (int x = 0; x < 4 * scale; ++x)
                EXPECT_EQ(drawn[y * 8 + x], shown[y / scale][x / scale].value_or(background[y * 8 + x]))
                    << "scale " << scale << " at " << x << ", " << y;
    }
}

TEST_F(PngDraw, KeyColoursOfGreyAndTruecolourImages)
{
    struct Case {
        const char* what;
        std::uint8_t bitDepth, colorType;
        Bytes key, row;  // row: the filter-type byte and one row of pixels
        std::vector<std::optional<std::uint32_t>> shown;  // nothing: the background shows
        bool gamma = false;  // gAMA maps 64 to 136 and 65 to 137
    };
    auto grey = [](std::uint8_t v) { return CanvasPixel(v, v, v); };
    const Case cases[] = {
        {"grey 8", 8, 0, {0, 7}, {0, 7, 8, 7, 200}, {{}, grey(8), {}, grey(200)}},
        {"grey 1", 1, 0, {0, 1}, {0, 0b01100000}, {grey(0), {}, {}, grey(0)}},
        {"grey 2", 2, 0, {0, 2}, {0, 0b00011011}, {grey(0), grey(85), {}, grey(255)}},
        {"grey 4", 4, 0, {0, 9}, {0, 0x9F, 0x09}, {{}, grey(255), grey(0), {}}},
        {"grey 16", 16, 0, {0x90, 0x01}, {0, 0x90, 0x01, 0x91, 0x01}, {{}, grey(0x91)}},
        {"RGB 8", 8, 2, {0, 1, 0, 2, 0, 3}, {0, 1, 2, 3, 1, 2, 4, 200, 100, 50},
         {{}, CanvasPixel(1, 2, 4), CanvasPixel(200, 100, 50)}},
        {"RGB 16", 16, 2, {4, 1, 5, 2, 6, 3}, {0, 4, 1, 5, 2, 6, 3, 4, 1, 5, 2, 7, 3}, {{}, CanvasPixel(4, 5, 7)}},
        // The key is mapped through gamma as the drawn pixels are.
        {"grey 8, gamma", 8, 0, {0, 64}, {0, 64, 65}, {{}, grey(137)}, true},
        {"RGB 8, gamma", 8, 2, {0, 64, 0, 64, 0, 64}, {0, 64, 64, 64, 64, 64, 65}, {{}, CanvasPixel(136, 136, 137)},
         true},
    };
    for (const Case& c : cases) {
        const int width = static_cast<int>(c.shown.size());
        PngBuilder png;
        png.Ihdr(width, 1, c.bitDepth, c.colorType);
        if (c.gamma)
            png.Chunk("gAMA", BigEndian(100000));
        Load(png.Chunk("tRNS", c.key).ImageData(c.row).Iend());
        ASSERT_EQ(picture_.AlphaDrawMode(), admColorKey) << c.what;
        const CanvasPixels background = PatternedCanvas(width, 1);
        const CanvasPixels drawn = DrawnOver(picture_, width, 1, background, {0, 0, width, 1});
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(drawn[x], c.shown[x].value_or(background[x])) << c.what << " at " << x;
    }
}

TEST_F(PngDraw, ShrinkingThroughTheMaskInventsNoColours)
{
    // At half size each pixel drawn is one of two neighbours, never a mix of
    // them (a memory context's default stretch mode would AND them to black).
    const std::uint32_t first = CanvasPixel(0xF0, 0x0F, 0xCC), second = CanvasPixel(0x0F, 0xF0, 0x33);
    Load(PngBuilder()
             .Ihdr(4, 1, 8, 2)
             .Chunk("tRNS", {0, 9, 0, 9, 0, 9})
             .ImageData({0, 0xF0, 0x0F, 0xCC, 0x0F, 0xF0, 0x33, 9, 9, 9, 9, 9, 9})
             .Iend());
    const CanvasPixels background = PatternedCanvas(2, 1);
    const CanvasPixels drawn = DrawnOver(picture_, 2, 1, background, {0, 0, 2, 1});
    EXPECT_TRUE(drawn[0] == first || drawn[0] == second) << std::hex << drawn[0];
    EXPECT_EQ(drawn[1], background[1]);
}

TEST_F(PngDraw, OpaqueImagesStretchStraightOntoTheCanvas)
{
    Load(OpaqueRgb());
    ASSERT_EQ(picture_.AlphaDrawMode(), admOpaque);
    TestCanvas canvas(6, 4, 0);
    SetStretchBltMode(canvas.DC(), HALFTONE);
    picture_.Draw(canvas.DC(), {0, 0, 6, 4});
    EXPECT_EQ(GetStretchBltMode(canvas.DC()), COLORONCOLOR);
    const std::uint32_t top[] = {CanvasPixel(10, 20, 30), CanvasPixel(40, 50, 60), CanvasPixel(70, 80, 90)};
    const std::uint32_t bottom[] = {CanvasPixel(1, 2, 3), CanvasPixel(4, 5, 6), CanvasPixel(7, 8, 9)};
    const CanvasPixels drawn = canvas.Pixels();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(drawn[y * 6 + x], (y < 2 ? top : bottom)[x / 2]) << x << ", " << y;

    // What the canvas is asked to do, recorded: the stretch and nothing else;
    // no copy of the canvas is read back or blended.
    const HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    picture_.Draw(recorder, {0, 0, 6, 4});
    const HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    std::optional<DWORD> mode;
    EXPECT_EQ(MetafileRecords(metafile, &mode),
              (std::vector<DWORD>{EMR_HEADER, EMR_SETSTRETCHBLTMODE, EMR_STRETCHDIBITS, EMR_EOF}));
    EXPECT_EQ(mode, DWORD{COLORONCOLOR});
    DeleteEnhMetaFile(metafile);
}

TEST_F(PngDraw, OpaqueImagesOfEveryKindShowTheirColours)
{
    struct Case {
        const char* what;
        Bytes file;
        CanvasPixels shown;
    };
    const Case cases[] = {
        {"grey 8", PngBuilder().Ihdr(2, 1, 8, 0).ImageData({0, 0, 200}).Iend(), {0, CanvasPixel(200, 200, 200)}},
        {"palette 4", PngBuilder().Ihdr(2, 1, 4, 3).Chunk("PLTE", {1, 2, 3, 4, 5, 6}).ImageData({0, 0x10}).Iend(),
         {CanvasPixel(4, 5, 6), CanvasPixel(1, 2, 3)}},
        {"RGB 16", PngBuilder().Ihdr(1, 1, 16, 2).ImageData({0, 7, 0, 8, 0, 9, 0}).Iend(), {CanvasPixel(7, 8, 9)}},
    };
    for (const Case& c : cases) {
        Load(c.file);
        ASSERT_EQ(picture_.AlphaDrawMode(), admOpaque) << c.what;
        const int width = static_cast<int>(c.shown.size());
        EXPECT_EQ(DrawnOver(picture_, width, 1, CanvasPixels(width, kGrey), {0, 0, width, 1}), c.shown) << c.what;
    }
}

TEST_F(PngDraw, PicturesWithoutAnImage)
{
    const CanvasPixels background = PatternedCanvas(4, 4);
    TPngPicture empty;
    EXPECT_EQ(DrawnOver(empty, 4, 4, background, {0, 0, 4, 4}), background);

    // The header was read, then the image memory could not be had.
    SetImageAllocator([](const TDibInfo&, std::size_t) -> std::unique_ptr<ImageMemory> { return nullptr; });
    EXPECT_EQ(LoadOutcome(picture_, RgbaSample(2, 2, 8, 41).file), "EPNGOutMemory");
    EXPECT_EQ(DrawnOver(picture_, 4, 4, background, {0, 0, 4, 4}), background);

    TPngPicture headerless;
    headerless.ChunkItems().Add(std::make_unique<TChunktEXt>(headerless));
    TestCanvas canvas(4, 4, background);
    EXPECT_THROW(headerless.Draw(canvas.DC(), {0, 0, 4, 4}), EPNGHeaderNotPresent);
}

TEST_F(PngDraw, FailuresDrawNothing)
{
    const CanvasPixels background = PatternedCanvas(4, 2);
    TestCanvas canvas(4, 2, background);
    // A rectangle whose buffers GDI cannot make.
    for (const Bytes& file : {RgbaSample(2, 2, 8, 51).file, PaletteWithOneClearEntry()}) {
        Load(file);
        try {
            picture_.Draw(canvas.DC(), {0, 0, 0x7FFF0, 0x7FFF0});
            ADD_FAILURE() << "no exception";
        } catch (const EPNGOutMemory& e) {
            EXPECT_STREQ(e.what(), "Some operation could not be performed because the system is out of resources. "
                                   "Close some windows and try again.");
        }
    }
    // A pixel with an index past the palette's two entries.
    Load(PngBuilder()
             .Ihdr(2, 1, 8, 3)
             .Chunk("PLTE", {1, 2, 3, 4, 5, 6})
             .Chunk("tRNS", {0, 128})
             .ImageData({0, 1, 2})
             .Iend());
    EXPECT_THROW(picture_.Draw(canvas.DC(), {0, 0, 4, 2}), EPngError);
    EXPECT_EQ(canvas.Pixels(), background);
}

TEST_F(PngDraw, ThePaletteOfGreyAndPaletteImages)
{
    auto entries = [](HPALETTE palette) {
        std::vector<PALETTEENTRY> read(256);
        EXPECT_EQ(GetPaletteEntries(palette, 0, 256, read.data()), 256u);
        return read;
    };
    Load(PngBuilder().Ihdr(2, 1, 8, 3).Chunk("PLTE", {10, 20, 30, 40, 50, 60}).ImageData({0, 0, 1}).Iend());
    const HPALETTE palette = picture_.Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(picture_.Palette(), palette);  // kept, not made again
    const std::vector<PALETTEENTRY> read = entries(palette);
    for (int i = 0; i < 256; ++i) {
        const TRGBQuad& colour = picture_.Header().DibInfo().bmiColors[i];
        ASSERT_EQ((std::array<int, 4>{read[i].peRed, read[i].peGreen, read[i].peBlue, read[i].peFlags}),
                  (std::array<int, 4>{colour.rgbRed, colour.rgbGreen, colour.rgbBlue, 0}))
            << i;
    }
    EXPECT_EQ((std::array<int, 3>{read[1].peRed, read[1].peGreen, read[1].peBlue}), (std::array<int, 3>{40, 50, 60}));

    // Loading again prepares a new image: the old palette is released.
    Load(PngBuilder().Ihdr(2, 1, 2, 0).ImageData({0, 0b11000000}).Iend());
    EXPECT_EQ(GetObjectType(palette), 0u);
    const std::vector<PALETTEENTRY> ramp = entries(picture_.Palette());
    EXPECT_EQ((std::array<int, 3>{ramp[5].peRed, ramp[5].peGreen, ramp[5].peBlue}), (std::array<int, 3>{85, 85, 85}));
    const HPALETTE greyPalette = picture_.Palette();
    picture_.ResetPicture();
    EXPECT_EQ(GetObjectType(greyPalette), 0u);
    EXPECT_EQ(picture_.Palette(), nullptr);

    for (const Bytes& file : {OpaqueRgb(), RgbaSample(1, 1, 8, 61).file, GreyAlphaSample(1, 1, 8, 62).file}) {
        Load(file);
        EXPECT_EQ(picture_.Palette(), nullptr) << int{picture_.Header().ColorType()};
    }
}

TEST_F(PngDraw, TheImageIsDecodedStraightIntoADibSection)
{
    Load(PaletteAlphaSample(13, 7, 4, 71).file);
    const TChunkIHDR& header = picture_.Header();
    ASSERT_NE(header.DibHandle(), nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObject(header.DibHandle(), sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmBits, header.PixelBits());
    EXPECT_EQ(section.dsBmih.biWidth, 13);
    EXPECT_EQ(section.dsBmih.biHeight, 7);
    EXPECT_EQ(section.dsBmih.biBitCount, 4);
    EXPECT_EQ(section.dsBm.bmWidthBytes, static_cast<LONG>(header.RowStride()));
    EXPECT_EQ(GetCurrentObject(header.DibDC(), OBJ_BITMAP), header.DibHandle());

    SetImageAllocator({});
    TPngPicture onTheHeap;
    ASSERT_EQ(LoadOutcome(onTheHeap, OpaqueRgb()), "ok");
    EXPECT_EQ(onTheHeap.Header().DibHandle(), nullptr);
    EXPECT_EQ(onTheHeap.Header().DibDC(), nullptr);
}

TEST_F(PngDraw, TheProgramIconBlendsOverTheDialogBackground)
{
    const Bytes file = ReadFileBytes(std::filesystem::path(TALLYGLASS_SOURCE_DIR) / "resources" / "program-icon.png");
    ASSERT_FALSE(file.empty());
    Load(file);
    const TChunkIHDR& header = picture_.Header();
    ASSERT_EQ((std::array<int, 5>{int(header.Width()), int(header.Height()), header.ColorType(), header.BitDepth(),
                                  header.InterlaceMethod()}),
              (std::array<int, 5>{64, 64, 6, 8, 0}));
    EXPECT_EQ(header.DibInfo().bmiHeader.biBitCount, 24);
    EXPECT_EQ(header.DibInfo().bmiHeader.biHeight, 64);  // bottom-up
    ASSERT_NE(header.AlphaPlane(), nullptr);

    // The icon's own colours and alpha, as decoded: every level of alpha occurs.
    DrawSample icon{"program icon", file, 64, 64, {}};
    int clear = 0, opaque = 0, partial = 0;
    for (std::uint32_t y = 0; y < 64; ++y)
        for (std::uint32_t x = 0; x < 64; ++x) {
            const std::uint8_t* bgr = header.ScanLine(y) + x * 3;
            const std::uint8_t alpha = header.AlphaLine(y)[x];
            icon.pixels.push_back(Rgba{bgr[2], bgr[1], bgr[0], alpha});
            (alpha == 0 ? clear : alpha == 255 ? opaque : partial)++;
        }
    EXPECT_EQ(clear + opaque + partial, 4096);
    EXPECT_GT(clear, 0);
    EXPECT_GT(opaque, 0);
    EXPECT_GT(partial, 0);

    const COLORREF face = ColorToRGB(clBtnFace);
    const CanvasPixels dialog(80 * 80, CanvasPixel(GetRValue(face), GetGValue(face), GetBValue(face)));
    const RECT at{16, 16, 80, 80};
    EXPECT_EQ(DrawnOver(picture_, 80, 80, dialog, at), ExpectedBlend(icon, 80, dialog, at));
}

TEST_F(PngDraw, DrawingGivesBackEveryGdiObject)
{
    const Bytes files[] = {OpaqueRgb(), PaletteWithOneClearEntry(), RgbaSample(5, 4, 8, 81).file,
                           PaletteAlphaSample(5, 4, 2, 82).file};
    const CanvasPixels background = PatternedCanvas(16, 16);
    TestCanvas canvas(16, 16, background);
    std::vector<std::unique_ptr<TPngPicture>> pictures;
    for (const Bytes& file : files) {
        pictures.push_back(std::make_unique<TPngPicture>());
        ASSERT_EQ(LoadOutcome(*pictures.back(), file), "ok");
        pictures.back()->Draw(canvas.DC(), {0, 0, 16, 16});  // GDI's own first-use objects come now
        pictures.back()->Palette();
    }
    const std::size_t before = LiveGdiObjects();
    for (int round = 0; round < 100; ++round) {
        for (auto& picture : pictures) {
            picture->Draw(canvas.DC(), {1, 2, 13, 11});
            picture->Draw(canvas.DC(), {13, 11, 1, 2});
            if (picture->AlphaDrawMode() != admOpaque) {
                EXPECT_THROW(picture->Draw(canvas.DC(), {0, 0, 0x7FFF0, 0x7FFF0}), EPNGOutMemory);
            }
        }
    }
    EXPECT_EQ(LiveGdiObjects(), before);

    // Loading, asking for the palette and destroying give theirs back too.
    for (int round = 0; round < 50; ++round) {
        TPngPicture picture;
        ASSERT_EQ(LoadOutcome(picture, files[round % 4]), "ok");
        picture.Palette();
        ASSERT_EQ(LoadOutcome(picture, files[(round + 1) % 4]), "ok");
        picture.Palette();
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}
