// The reader's own rules, on small files made here chunk by chunk.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "PngBuilder.h"
#include "pictures/pngpicture.h"

namespace {

const std::set<std::string> kDocumentedErrors = {
    "EPNGInvalidFileHeader",    "EPngUnexpectedEnd",      "EPNGIHDRNotFirst",
    "EPNGUnknownCriticalChunk", "EPngInvalidCRC",         "EPngInvalidIHDR",
    "EPNGSizeExceeds",          "EPNGUnknownCompression", "EPNGUnknownInterlace",
    "EPNGInvalidPalette",       "EPNGMissingMultipleIDAT", "EPNGZLIBError",
    "EPNGNoImageData",          "EPNGOutMemory",
};

// A grey 8-bit image whose pixel (x, y) is x + 16 * y.
std::vector<Bytes> GreyRows(std::uint32_t width, std::uint32_t height)
{
    std::vector<Bytes> rows(height, Bytes(width));
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            rows[y][x] = static_cast<std::uint8_t>(x + 16 * y);
    return rows;
}

Bytes SmallGrey(const std::string& extraChunkType = "", const Bytes& extraData = {})
{
    PngBuilder png;
    png.Ihdr(4, 3, 8, 0);
    if (!extraChunkType.empty())
        png.Chunk(extraChunkType, extraData);
    return png.ImageData(WithFilterByte(GreyRows(4, 3), 0)).Iend();
}

Bytes PaletteImage(const Bytes& palette, const Bytes& transparency = {}, bool withTransparency = false)
{
    PngBuilder png;
    png.Ihdr(2, 1, 8, 3).Chunk("PLTE", palette);
    if (withTransparency)
        png.Chunk("tRNS", transparency);
    return png.ImageData(WithFilterByte({{0, 1}}, 0)).Iend();
}

std::vector<std::string> ChunkTypes(const TPngPicture& picture)
{
    std::vector<std::string> types;
    for (std::size_t i = 0; i < picture.ChunkItems().Count(); ++i) {
        const TChunkType& t = picture.ChunkItems().Item(i).Type();
        types.emplace_back(t.begin(), t.end());
    }
    return types;
}

std::uint8_t DibByte(const TPngPicture& picture, std::uint32_t x, std::uint32_t y)
{
    return picture.Header().ScanLine(y)[x];
}

class TChunkhIST : public TChunk {
public:
    static const TChunkClass Class;
    explicit TChunkhIST(TPngPicture& owner) : TChunk(owner, Class) {}
};
const TChunkClass TChunkhIST::Class{
    "TChunkhIST", [](TPngPicture& owner) -> std::unique_ptr<TChunk> { return std::make_unique<TChunkhIST>(owner); }};

class ScopedAllocator {
public:
    explicit ScopedAllocator(ImageAllocator allocator) : previous_(SetImageAllocator(std::move(allocator))) {}
    ~ScopedAllocator() { SetImageAllocator(previous_); }

private:
    ImageAllocator previous_;
};

}  // namespace

TEST(PngReader, AnyDamagedSignatureByteIsRefusedBeforeAnyChunk)
{
    for (std::size_t i = 0; i < 8; ++i) {
        Bytes file = SmallGrey();
        file[i] ^= 0x01;
        TPngPicture picture;
        EXPECT_EQ(LoadOutcome(picture, file), "EPNGInvalidFileHeader") << "byte " << i;
        EXPECT_TRUE(picture.Empty());
    }
}

TEST(PngReader, ChunkOrderAndKindRules)
{
    struct Case {
        const char* what;
        Bytes file;
        const char* outcome;
        std::vector<std::string> chunks;  // what stays in ChunkItems
    };
    const Case cases[] = {
        {"gAMA first", PngBuilder().Chunk("gAMA", BigEndian(45455)).Ihdr(1, 1, 8, 0), "EPNGIHDRNotFirst", {}},
        {"cHRM first", PngBuilder().Chunk("cHRM", Bytes(32)).Ihdr(1, 1, 8, 0), "EPNGIHDRNotFirst", {}},
        {"cHRM dropped", SmallGrey("cHRM", Bytes(32)), "ok", {"IHDR", "IDAT", "IEND"}},
        {"unknown ancillary kept", SmallGrey("ruSt", {1, 2, 3}), "ok", {"IHDR", "ruSt", "IDAT", "IEND"}},
        {"unknown critical", SmallGrey("RUST", {1}), "EPNGUnknownCriticalChunk", {"IHDR", "RUST"}},
        {"type compared with its case", SmallGrey("Idat", {}), "EPNGUnknownCriticalChunk", {"IHDR", "Idat"}},
        {"no image data", PngBuilder().Ihdr(1, 1, 8, 0).Iend(), "EPNGNoImageData", {"IHDR", "IEND"}},
        {"no IEND", PngBuilder().Ihdr(1, 1, 8, 0).ImageData({0, 0}), "EPngUnexpectedEnd", {"IHDR", "IDAT"}},
        {"nothing after the signature", PngBuilder(), "EPngUnexpectedEnd", {}},
    };
    for (const Case& c : cases) {
        TPngPicture picture;
        EXPECT_EQ(LoadOutcome(picture, c.file), c.outcome) << c.what;
        EXPECT_EQ(ChunkTypes(picture), c.chunks) << c.what;
        EXPECT_EQ(picture.ChunkItems().Capacity(), picture.ChunkItems().Count()) << c.what;
    }
    TPngPicture kept;
    ASSERT_EQ(LoadOutcome(kept, SmallGrey("ruSt", {1, 2, 3})), "ok");
    const TChunk& unknown = kept.ChunkItems().Item(1);
    EXPECT_EQ(&unknown.ChunkClass(), &TChunk::Class);
    EXPECT_EQ(unknown.Data(), (Bytes{1, 2, 3}));

    // Room for 10 chunks at first, 10 more when full, trimmed at the end.
    PngBuilder many;
    many.Ihdr(4, 3, 8, 0);
    for (int i = 0; i < 11; ++i)
        many.Chunk("ruSt", {std::uint8_t(i)});
    TPngPicture grown;
    ASSERT_EQ(LoadOutcome(grown, many.ImageData(WithFilterByte(GreyRows(4, 3), 0)).Iend()), "ok");
    EXPECT_EQ(grown.ChunkItems().Count(), 14u);
    EXPECT_EQ(grown.ChunkItems().Capacity(), 14u);
}

TEST(PngReader, HeaderChecksInTheirOrder)
{
    const auto header = [](Bytes data) { return Bytes(PngBuilder().Chunk("IHDR", data).Iend()); };
    const auto fields = [](std::uint32_t w, std::uint32_t h, Bytes rest) {
        Bytes d = BigEndian(w);
        const Bytes hb = BigEndian(h);
        d.insert(d.end(), hb.begin(), hb.end());
        d.insert(d.end(), rest.begin(), rest.end());
        return d;
    };
    struct Case {
        const char* what;
        Bytes file;
        const char* outcome;
    };
    const Case cases[] = {
        {"12 bytes", header(fields(1, 1, {8, 0, 0, 0})), "EPngInvalidIHDR"},
        {"width 65536", header(fields(65536, 1, {8, 0, 0, 0, 0})), "EPNGSizeExceeds"},
        {"height 65536", header(fields(1, 65536, {8, 0, 0, 0, 0})), "EPNGSizeExceeds"},
        {"width 2^32-1", header(fields(0xFFFFFFFF, 1, {8, 0, 0, 0, 0})), "EPNGSizeExceeds"},
        {"size before compression", header(fields(65536, 1, {8, 0, 1, 0, 0})), "EPNGSizeExceeds"},
        {"compression 1", header(fields(1, 1, {8, 0, 1, 0, 0})), "EPNGUnknownCompression"},
        {"compression before interlace", header(fields(1, 1, {8, 0, 1, 0, 2})), "EPNGUnknownCompression"},
        {"interlace 2", header(fields(1, 1, {8, 0, 0, 0, 2})), "EPNGUnknownInterlace"},
        {"width 0", header(fields(0, 1, {8, 0, 0, 0, 0})), "EPngInvalidIHDR"},
        {"height 0", header(fields(1, 0, {8, 0, 0, 0, 0})), "EPngInvalidIHDR"},
        {"filter method ignored", PngBuilder().Chunk("IHDR", fields(1, 1, {8, 0, 0, 9, 0})).ImageData({0, 7}).Iend(), "ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadOutcome(c.file), c.outcome) << c.what;

    // Colour types and depths the standard does not allow are refused before
    // any row is converted.
    const std::pair<int, int> refused[] = {{0, 3}, {0, 32}, {1, 8}, {2, 4}, {3, 16}, {4, 4},
                                           {5, 8}, {6, 1}, {7, 8}, {9, 8}, {2, 0}, {255, 8}};
    for (auto [colorType, depth] : refused)
        EXPECT_EQ(LoadOutcome(header(fields(1, 1, {std::uint8_t(depth), std::uint8_t(colorType), 0, 0, 0}))),
                  "EPngInvalidIHDR")
            << "colour type " << colorType << ", depth " << depth;
}

TEST(PngReader, TheLargestWidthPassesTheSizeCheck)
{
    const std::vector<Bytes> row{Bytes(65535, 0x42)};
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder().Ihdr(65535, 1, 8, 0).ImageData(WithFilterByte(row, 0)).Iend()), "ok");
    EXPECT_EQ(picture.Width(), 65535);
    EXPECT_EQ(DibByte(picture, 65534, 0), 0x42);
}

TEST(PngReader, ImageMemoryThatCannotBeHadIsReported)
{
    // 65535 x 65535 RGBA needs 12.9 GB of DIB: refused before anything is allocated.
    EXPECT_EQ(LoadOutcome(PngBuilder().Ihdr(65535, 65535, 8, 6).ImageData({0}).Iend()), "EPNGOutMemory");

    std::size_t asked = 0;
    int bits = 0;
    ScopedAllocator failing([&](const TDibInfo& info, std::size_t size) -> std::unique_ptr<ImageMemory> {
        asked = size;
        bits = info.bmiHeader.biBitCount;
        return nullptr;
    });
    TPngPicture picture;
    EXPECT_EQ(LoadOutcome(picture, SmallGrey()), "EPNGOutMemory");
    EXPECT_EQ(asked, 3u * 4);  // three rows of 4 bytes
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(picture.Header().PixelBits(), nullptr);
}

TEST(PngReader, ChunkLengthsBeyondTheStreamAreRefusedBeforeReading)
{
    const Bytes good = SmallGrey("teXt", {});
    const std::size_t lengthAt = 8 + 25;  // the text chunk's length field
    for (std::uint32_t length : {0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu, 1000u}) {
        Bytes file = good;
        const Bytes l = BigEndian(length);
        std::copy(l.begin(), l.end(), file.begin() + lengthAt);
        EXPECT_EQ(LoadOutcome(file), "EPngUnexpectedEnd") << length;
    }
}

TEST(PngReader, PaletteAndTransparencyLengths)
{
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes(768, 9))), "ok");
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes())), "ok");
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes(771, 9))), "EPNGInvalidPalette");
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes(5, 9))), "EPNGInvalidPalette");
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes(6, 9), Bytes(256, 0), true)), "ok");
    EXPECT_EQ(LoadOutcome(PaletteImage(Bytes(6, 9), Bytes(257, 0), true)), "EPNGInvalidPalette");
}

TEST(PngReader, PaletteEntriesAreReadWithinTheirCount)
{
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PaletteImage({10, 20, 30, 40, 50, 60})), "ok");
    const TChunkPLTE* palette = picture.ChunkItems().FindChunk<TChunkPLTE>();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->Count(), 2u);
    const TRGBQuad second = palette->Item(1);
    EXPECT_EQ((std::array<int, 4>{second.rgbRed, second.rgbGreen, second.rgbBlue, second.rgbReserved}),
              (std::array<int, 4>{40, 50, 60, 0}));
    try {
        palette->Item(2);
        ADD_FAILURE() << "no exception";
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), "There is no such palette entry.");
    }
}

TEST(PngReader, DrawModeAndKeyColourFollowTheTransparency)
{
    const Bytes palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    struct Case {
        const char* what;
        Bytes file;
        TAlphaDrawMode mode;
        TColor key;
        bool singleKey;
    };
    const Case cases[] = {
        {"palette, no tRNS", PaletteImage(palette), admOpaque, 0, false},
        {"palette, one entry 0", PaletteImage(palette, {255, 0}, true), admColorKey, RGBColor(40, 50, 60), true},
        {"palette, two entries below 255", PaletteImage(palette, {0, 128}, true), admBlend, RGBColor(10, 20, 30), false},
        {"palette, one entry half transparent", PaletteImage(palette, {255, 128}, true), admBlend, 0, true},
        {"palette, all opaque", PaletteImage(palette, {255, 255}, true), admBlend, 0, false},
        {"grey 8, key 7", SmallGrey("tRNS", {0, 7}), admColorKey, RGBColor(7, 7, 7), true},
        {"grey, no tRNS", SmallGrey(), admOpaque, 0, false},
        {"RGB 8, key", PngBuilder().Ihdr(1, 1, 8, 2).Chunk("tRNS", {0, 1, 0, 2, 0, 3}).ImageData({0, 1, 2, 3}).Iend(),
         admColorKey, RGBColor(1, 2, 3), true},
        {"RGB 16, key", PngBuilder().Ihdr(1, 1, 16, 2).Chunk("tRNS", {4, 1, 5, 2, 6, 3}).ImageData(Bytes(7)).Iend(),
         admColorKey, RGBColor(4, 5, 6), true},
        {"grey 2, key 1", PngBuilder().Ihdr(1, 1, 2, 0).Chunk("tRNS", {0, 1}).ImageData({0, 0}).Iend(),
         admColorKey, RGBColor(85, 85, 85), true},
        {"grey 16, key", PngBuilder().Ihdr(1, 1, 16, 0).Chunk("tRNS", {0x90, 0x01}).ImageData({0, 0, 0}).Iend(),
         admColorKey, RGBColor(0x90, 0x90, 0x90), true},
        {"grey with alpha", PngBuilder().Ihdr(1, 1, 8, 4).ImageData({0, 0, 0}).Iend(), admBlend, 0, false},
        {"RGBA", PngBuilder().Ihdr(1, 1, 8, 6).ImageData(Bytes(5)).Iend(), admBlend, 0, false},
    };
    for (const Case& c : cases) {
        TPngPicture picture;
        ASSERT_EQ(LoadOutcome(picture, c.file), "ok") << c.what;
        EXPECT_EQ(picture.AlphaDrawMode(), c.mode) << c.what;
        EXPECT_EQ(picture.Transparent(), c.mode != admOpaque) << c.what;
        EXPECT_EQ(picture.KeyColor(), c.key) << c.what;
        const TChunktRNS* t = picture.ChunkItems().FindChunk<TChunktRNS>();
        EXPECT_EQ(t && t->SingleKey(), c.singleKey) << c.what;
    }
    EXPECT_EQ(TPngPicture().AlphaDrawMode(), admOpaque);
}

TEST(PngReader, GammaTables)
{
    TPngPicture none;
    ASSERT_EQ(LoadOutcome(none, SmallGrey("gAMA", BigEndian(0))), "ok");
    TPngPicture display;
    ASSERT_EQ(LoadOutcome(display, SmallGrey("gAMA", BigEndian(45455))), "ok");
    TPngPicture linear;
    ASSERT_EQ(LoadOutcome(linear, SmallGrey("gAMA", BigEndian(100000))), "ok");
    TPngPicture cutShort;  // a value of less than 4 bytes carries no gamma
    ASSERT_EQ(LoadOutcome(cutShort, SmallGrey("gAMA", {0x01, 0x86})), "ok");
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(none.GammaLookup()[i], i);
        EXPECT_EQ(none.GammaInverseLookup()[i], i);
        EXPECT_EQ(cutShort.GammaLookup()[i], i);
    }
    EXPECT_EQ(display.GammaLookup()[0], 0);
    EXPECT_EQ(display.GammaLookup()[255], 255);
    // 255 * (i / 255)^(1 / 2.2), rounded
    EXPECT_EQ(linear.GammaLookup()[64], 136);
    EXPECT_EQ(linear.GammaLookup()[128], 186);
    EXPECT_EQ(linear.GammaInverseLookup()[186], 128);
    EXPECT_EQ(linear.GammaInverseLookup()[1], 1);  // never hit: keeps its identity value
    // The grey ramp carries the gamma: level 64 shows as 136.
    const TRGBQuad level = linear.Header().DibInfo().bmiColors[64];
    EXPECT_EQ(level.rgbRed, 136);
    EXPECT_EQ(DibByte(linear, 0, 0), 0);

    linear.ResetPicture();
    EXPECT_TRUE(linear.Empty());
    EXPECT_EQ(linear.GammaLookup()[128], 128);
    EXPECT_EQ(linear.GammaInverseLookup()[186], 186);
}

TEST(PngReader, TheDibIsBottomUpAndTheAlphaPlaneTopDown)
{
    // 2 x 2 RGBA: top row red (alpha 10), then blue (alpha 20).
    const std::vector<Bytes> rows = {{255, 0, 0, 10, 255, 0, 0, 10}, {0, 0, 255, 20, 0, 0, 255, 20}};
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder().Ihdr(2, 2, 8, 6).ImageData(WithFilterByte(rows, 0)).Iend()), "ok");
    const TChunkIHDR& h = picture.Header();
    ASSERT_EQ(h.RowStride(), 8u);
    const std::uint8_t* bits = h.PixelBits();
    EXPECT_EQ((Bytes(bits, bits + 3)), (Bytes{255, 0, 0}));     // first memory row: bottom, blue (B,G,R)
    EXPECT_EQ((Bytes(bits + 8, bits + 11)), (Bytes{0, 0, 255}));  // last memory row: top, red
    EXPECT_EQ((Bytes(h.AlphaPlane(), h.AlphaPlane() + 4)), (Bytes{10, 10, 20, 20}));
}

TEST(PngReader, TwoBitGreyLandsOnEveryFifthStepOfTheRamp)
{
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder().Ihdr(4, 1, 2, 0).ImageData({0, 0b00011011}).Iend()), "ok");
    EXPECT_EQ(DibByte(picture, 0, 0), 0x05);
    EXPECT_EQ(DibByte(picture, 1, 0), 0xAF);
    const TRGBQuad* ramp = picture.Header().DibInfo().bmiColors;
    EXPECT_EQ((std::array<int, 4>{ramp[0].rgbRed, ramp[5].rgbRed, ramp[10].rgbRed, ramp[15].rgbRed}),
              (std::array<int, 4>{0, 85, 170, 255}));
}

TEST(PngReader, ImageDataAcrossChunks)
{
    const std::vector<Bytes> rows = GreyRows(4, 3);
    const Bytes z = Deflate(WithFilterByte(rows, 0));
    const auto part = [&](std::size_t from, std::size_t to) { return Bytes(z.begin() + from, z.begin() + to); };
    TPngPicture single, split;
    ASSERT_EQ(LoadOutcome(single, SmallGrey()), "ok");
    ASSERT_EQ(LoadOutcome(split, PngBuilder()
                                     .Ihdr(4, 3, 8, 0)
                                     .Chunk("IDAT", part(0, 3))
                                     .Chunk("IDAT", {})
                                     .Chunk("IDAT", part(3, 9))
                                     .Chunk("IDAT", part(9, z.size()))
                                     .Chunk("IDAT", {1, 2, 3})  // stray: after the image was complete
                                     .Chunk("tEXt", {'a', 0, 'b'})
                                     .Chunk("IDAT", {4, 5})  // stray, after another chunk
                                     .Iend()),
              "ok");
    EXPECT_EQ(ChunkTypes(split), (std::vector<std::string>{"IHDR", "IDAT", "tEXt", "IEND"}));
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(DibByte(split, x, y), rows[y][x]);

    EXPECT_EQ(LoadOutcome(PngBuilder().Ihdr(4, 3, 8, 0).Chunk("IDAT", part(0, 5)).Chunk("tEXt", {'a', 0, 'b'})
                              .Chunk("IDAT", part(5, z.size())).Iend()),
              "EPNGMissingMultipleIDAT");
}

TEST(PngReader, DataTheImageDidNotNeedStaysInsideItsChunk)
{
    // A zlib stream that ends after the first of three rows, then padding well
    // beyond one 64 KB read portion: no endless loop, the missing rows stay
    // zero, and the chunk's CRC is checked over all of its data.
    const std::vector<Bytes> rows = GreyRows(4, 3);
    Bytes data = Deflate(WithFilterByte({rows[0]}, 0));
    data.resize(data.size() + 200000, 0xEE);
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder().Ihdr(4, 3, 8, 0).Chunk("IDAT", data).Iend()), "ok");
    EXPECT_EQ(DibByte(picture, 3, 0), 3);
    EXPECT_EQ(DibByte(picture, 3, 1), 0);
    EXPECT_EQ(DibByte(picture, 3, 2), 0);

    Bytes damaged = PngBuilder().Ihdr(4, 3, 8, 0).Chunk("IDAT", data).Iend();
    damaged[damaged.size() - 12 - 5000] ^= 1;  // in the padding, far past the zlib stream
    EXPECT_EQ(LoadOutcome(damaged), "EPngInvalidCRC");

    // A stream that ends inside the second row: that row is not converted
    // from a half-filled buffer, it stays zero like the rows never sent.
    Bytes cut = WithFilterByte({rows[0], rows[1]}, 0);
    cut.resize(cut.size() - 2);
    TPngPicture halfRow;
    ASSERT_EQ(LoadOutcome(halfRow, PngBuilder().Ihdr(4, 3, 8, 0).Chunk("IDAT", Deflate(cut)).Iend()), "ok");
    EXPECT_EQ(DibByte(halfRow, 3, 0), 3);
    EXPECT_EQ(DibByte(halfRow, 0, 1), 0);
    EXPECT_EQ(DibByte(halfRow, 1, 1), 0);
}

TEST(PngReader, FilterTypesOutsideTheStandardLeaveTheRowAsInflated)
{
    const std::vector<Bytes> rows = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder().Ihdr(4, 2, 8, 0).ImageData(WithFilterByte(rows, 7)).Iend()), "ok");
    EXPECT_EQ(DibByte(picture, 1, 0), 2);
    EXPECT_EQ(DibByte(picture, 3, 1), 8);
}

TEST(PngReader, DamagedCompressedDataIsAZlibError)
{
    TPngPicture picture;
    const std::string outcome = LoadOutcome(picture, PngBuilder().Ihdr(4, 3, 8, 0).Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}).Iend());
    EXPECT_EQ(outcome, "EPNGZLIBError");
    try {
        throw EPNGZLIBError(-3);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Could not decompress the image because it contains invalid compressed data.\r\n"
                               " Description: data error (-3)");
    }
    EXPECT_EQ(InflateCodeText(2), "need dictionary (2)");
    EXPECT_EQ(InflateCodeText(-6), "incompatible version (-6)");
}

TEST(PngReader, EveryTruncationAndEveryByteFlipEndsInADecodeOrADocumentedError)
{
    const Bytes file = PngBuilder()
                           .Ihdr(5, 4, 4, 3, 1)
                           .Chunk("PLTE", Bytes(48, 7))
                           .Chunk("tRNS", {0, 9})
                           .Chunk("gAMA", BigEndian(45455))
                           .ImageData(Bytes(40, 0x31))
                           .Chunk("zTXt", {'k', 0, 0, 0x78, 0x9C, 0x4B, 0x04, 0x00, 0x00, 0x62, 0x00, 0x62})
                           .Iend();
    ASSERT_EQ(LoadOutcome(file), "ok");
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::string outcome = LoadOutcome(Bytes(file.begin(), file.begin() + length));
        EXPECT_TRUE(kDocumentedErrors.count(outcome)) << "cut at " << length << ": " << outcome;
    }
    for (std::size_t i = 0; i < file.size(); ++i)
        for (std::uint8_t flip : {0x01, 0x80}) {
            Bytes damaged = file;
            damaged[i] ^= flip;
            const std::string outcome = LoadOutcome(damaged);
            EXPECT_TRUE(outcome == "ok" || kDocumentedErrors.count(outcome)) << "byte " << i << ": " << outcome;
        }
}

TEST(PngReader, EveryChunkIsCheckedAgainstItsCrc)
{
    const Bytes file = SmallGrey("tEXt", {'a', 0, 'b'});
    // The last CRC byte of IHDR, of tEXt, of IDAT and of IEND.
    const std::size_t ihdrCrc = 8 + 8 + 13 + 3;
    const std::size_t textCrc = ihdrCrc + 1 + 8 + 3 + 3;
    for (std::size_t at : {ihdrCrc, textCrc, file.size() - 13, file.size() - 1}) {
        Bytes damaged = file;
        damaged[at] ^= 0x10;
        EXPECT_EQ(LoadOutcome(damaged), "EPngInvalidCRC") << "byte " << at;
    }
}

TEST(PngReader, TextAndTimeChunksAreKept)
{
    const Bytes compressed = Deflate({'z', 'i', 'p'});
    Bytes ztxt = {'K', 'e', 'y', 0, 0};
    ztxt.insert(ztxt.end(), compressed.begin(), compressed.end());
    Bytes unknownMethod = ztxt;
    unknownMethod[4] = 1;
    Bytes damaged = ztxt;
    damaged.resize(damaged.size() - 3);
    const Bytes bomb = [] {
        Bytes d = {0, 0};  // empty keyword, deflate
        const Bytes z = Deflate(Bytes(TChunkzTXt::kMaxTextSize + 1, 'x'));
        d.insert(d.end(), z.begin(), z.end());
        return d;
    }();

    TPngPicture picture;
    ASSERT_EQ(LoadOutcome(picture, PngBuilder()
                                       .Ihdr(1, 1, 8, 0)
                                       .Chunk("tIME", {0x07, 0xE6, 12, 31, 23, 59, 58})
                                       .Chunk("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'h', 'i'})
                                       .Chunk("zTXt", ztxt)
                                       .Chunk("zTXt", unknownMethod)
                                       .Chunk("zTXt", damaged)
                                       .Chunk("zTXt", bomb)
                                       .ImageData({0, 0})
                                       .Iend()),
              "ok");
    const TPNGList& chunks = picture.ChunkItems();
    const auto& time = dynamic_cast<const TChunktIME&>(chunks.Item(1));
    EXPECT_EQ((std::array<int, 6>{time.Year, time.Month, time.Day, time.Hour, time.Minute, time.Second}),
              (std::array<int, 6>{2022, 12, 31, 23, 59, 58}));
    const auto& text = dynamic_cast<const TChunktEXt&>(chunks.Item(2));
    EXPECT_EQ(text.Keyword, "Title");
    EXPECT_EQ(text.Text, "hi");
    const auto& zipped = dynamic_cast<const TChunkzTXt&>(chunks.Item(3));
    EXPECT_EQ(zipped.Keyword, "Key");
    EXPECT_EQ(zipped.Text, "zip");
    for (std::size_t i : {4, 5, 6}) {
        EXPECT_EQ(dynamic_cast<const TChunkzTXt&>(chunks.Item(i)).Text, "") << i;
    }
    // A text chunk is also found as the class it derives from.
    EXPECT_EQ(chunks.FindChunk<TChunktEXt>(), &text);
    EXPECT_EQ(chunks.FindChunk<TChunkzTXt>(), &zipped);
}

TEST(PngReader, AssignmentCopiesEveryChunkAndItsOwnImage)
{
    TPngPicture source;
    ASSERT_EQ(LoadOutcome(source, PngBuilder()
                                      .Ihdr(2, 1, 8, 3)
                                      .Chunk("gAMA", BigEndian(100000))
                                      .Chunk("PLTE", {10, 20, 30, 40, 50, 60})
                                      .Chunk("tRNS", {0})
                                      .Chunk("ruSt", {9})
                                      .ImageData({0, 0, 1})
                                      .Iend()),
              "ok");
    source.SetCompressionLevel(3);
    TPngPicture copy;
    copy.Assign(source);
    EXPECT_EQ(ChunkTypes(copy), ChunkTypes(source));
    EXPECT_EQ(copy.CompressionLevel(), 3);
    EXPECT_EQ(copy.AlphaDrawMode(), admColorKey);
    EXPECT_EQ(copy.KeyColor(), source.KeyColor());
    EXPECT_EQ(copy.ChunkItems().FindChunk<TChunkPLTE>()->Item(1).rgbRed, source.GammaLookup()[40]);
    EXPECT_NE(copy.Header().PixelBits(), source.Header().PixelBits());
    EXPECT_EQ(DibByte(copy, 1, 0), 1);
    for (std::size_t i = 0; i < copy.ChunkItems().Count(); ++i) {
        EXPECT_EQ(&copy.ChunkItems().Item(i).ChunkClass(), &source.ChunkItems().Item(i).ChunkClass());
        EXPECT_EQ(&copy.ChunkItems().Item(i).Owner(), &copy);
    }

    try {
        copy.ChunkItems().Item(0).CopyFrom(source.ChunkItems().Item(1));
        ADD_FAILURE() << "no exception";
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), "The chunks must be compatible to be assigned.");
    }
}

TEST(PngReader, PictureSizeAndHeaderAccess)
{
    TPngPicture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_THROW(picture.Header(), EPNGHeaderNotPresent);
    for (auto set : {&TPngPicture::SetWidth, &TPngPicture::SetHeight}) {
        try {
            (picture.*set)(10);
            ADD_FAILURE() << "no exception";
        } catch (const EPngError& e) {
            EXPECT_STREQ(e.what(), "The \"Portable Network Graphics\" image can not be resize by changing width "
                                   "and height properties. Try assigning the image from a bitmap.");
        }
    }
    ASSERT_EQ(LoadOutcome(picture, SmallGrey()), "ok");
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.InterlaceKind(), 0);
}

TEST(PngReader, ChunkClassRegistry)
{
    std::vector<std::string> names;
    for (const TChunkClass* c : ChunkClassRegistry())
        names.push_back(c->ChunkName());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 9),
              (std::vector<std::string>{"IEND", "IHDR", "IDAT", "PLTE", "gAMA", "tRNS", "tIME", "tEXt", "zTXt"}));
    EXPECT_EQ(TChunk::Class.ChunkName(), "");

    // A class added later reads its own type.
    AddChunkClass(TChunkhIST::Class);
    TPngPicture picture;
    const auto chunk = NewChunkForType(picture, {'h', 'I', 'S', 'T'});
    EXPECT_EQ(&chunk->ChunkClass(), &TChunkhIST::Class);
    EXPECT_NE(dynamic_cast<TChunkhIST*>(chunk.get()), nullptr);
    const auto unknown = NewChunkForType(picture, {'h', 'I', 'S', 't'});
    EXPECT_EQ(&unknown->ChunkClass(), &TChunk::Class);
    EXPECT_EQ(std::string(unknown->Type().begin(), unknown->Type().end()), "hISt");
}
