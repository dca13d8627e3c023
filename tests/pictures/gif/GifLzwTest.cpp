// Decoding of the LZW image data: code sizes, sub-block boundaries, table
// growth, interlacing, and data that ends early, runs long or is malformed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// One frame covering a width x height screen whose image data is given raw
// (code size byte, then data sub-blocks).
Bytes FrameWithData(int width, int height, int codeSize, const Bytes& subBlocks, bool transparent = false,
                    int transparentIndex = 0)
{
    GifWriter writer;
    writer.Header(width, height, GreyTable(std::max(1, std::min(codeSize, 8))));
    if (transparent)
        writer.GraphicControl(0, true, transparentIndex, 0);
    Bytes bytes = writer.Data();
    const Bytes head = {',', 0, 0, 0, 0, static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
                        static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 0,
                        static_cast<std::uint8_t>(codeSize)};
    bytes.insert(bytes.end(), head.begin(), head.end());
    bytes.insert(bytes.end(), subBlocks.begin(), subBlocks.end());
    return bytes;
}

Bytes PackedCodes(int codeSize, const std::vector<int>& codes)
{
    CodePacker packer(codeSize);
    for (const int code : codes)
        packer.Emit(code);
    return packer.Finish();
}

Bytes Decoded(const LoadResult& result, std::size_t frame = 0)
{
    const auto pixels = result.picture->Images()[frame].PixelIndices();
    return {pixels.begin(), pixels.end()};
}

}  // namespace

TEST(GifLzw, EveryCodeSizeAndSubBlockSizeRoundTrips)
{
    for (int codeSize = 2; codeSize <= 11; ++codeSize) {
        for (const int blockSize : {1, 2, 3, 254, 255}) {
            ImageSpec image;
            image.width = 61;
            image.height = 37;
            image.indices = RandomIndices(61 * 37, std::min(1 << codeSize, 256), codeSize * 31 + blockSize);
            image.lzw.codeSize = codeSize;
            image.subBlockSize = blockSize;
            const LoadResult result =
                LoadGif(GifWriter().Header(61, 37, GreyTable(std::max(1, std::min(codeSize, 8)))).Image(image).Trailer().Data());
            ASSERT_FALSE(result.error) << "code size " << codeSize << ", blocks of " << blockSize;
            EXPECT_THAT(result.warnings, IsEmpty());
            EXPECT_EQ(Decoded(result), image.indices) << "code size " << codeSize << ", blocks of " << blockSize;
        }
    }
}

TEST(GifLzw, CodeSizesZeroAndOneDecodeTheirLiterals)
{
    // An encoder cannot use the table with these sizes (its first entry needs
    // a wider code than the decoder reads), but literal codes decode.
    for (const int codeSize : {0, 1}) {
        Bytes indices;
        std::vector<int> codes;
        for (int i = 0; i < 30; ++i) {
            indices.push_back(static_cast<std::uint8_t>(i % 3 % (1 << codeSize)));
            codes.push_back(indices.back());
        }
        const LoadResult result = LoadGif(FrameWithData(6, 5, codeSize, SubBlocks(PackedCodes(codeSize, codes))));
        ASSERT_FALSE(result.error);
        EXPECT_EQ(Decoded(result), indices) << "code size " << codeSize;
    }
}

TEST(GifLzw, FullTableWithoutClearCode)
{
    // Random data fills all 4096 entries quickly; the encoder then goes on
    // with the full table at 12 bits, and clears only where asked to.
    for (const bool clearWhenFull : {false, true}) {
        ImageSpec image;
        image.width = 300;
        image.height = 200;
        image.indices = RandomIndices(300 * 200, 256, 5);
        image.lzw.clearWhenFull = clearWhenFull;
        const LoadResult result = LoadGif(GifWriter().Header(300, 200, GreyTable(8)).Image(image).Trailer().Data());
        ASSERT_FALSE(result.error);
        EXPECT_THAT(result.warnings, IsEmpty());
        EXPECT_EQ(Decoded(result), image.indices);
    }
}

TEST(GifLzw, InterlacedRowsOfEveryHeightUpToNine)
{
    for (int height = 1; height <= 9; ++height) {
        ImageSpec image;
        image.width = 3;
        image.height = height;
        image.interlaced = true;
        for (int row = 0; row < height; ++row)
            image.indices.insert(image.indices.end(), 3, static_cast<std::uint8_t>(row));
        image.lzw.codeSize = 4;
        const LoadResult result = LoadGif(GifWriter().Header(3, height, GreyTable(4)).Image(image).Trailer().Data());
        ASSERT_FALSE(result.error);
        EXPECT_TRUE(result.picture->Images()[0].Interlaced());
        EXPECT_EQ(Decoded(result), image.indices) << "height " << height;
    }
}

TEST(GifLzw, DataCutShortKeepsTheFill)
{
    const Bytes indices = RandomIndices(40 * 30, 16, 11);
    const Bytes codes = LzwEncode(indices, {4, true, true});
    const Bytes full = SubBlocks(codes, 20);
    const LoadResult reference = LoadGif(FrameWithData(40, 30, 4, full));
    ASSERT_EQ(Decoded(reference), indices);

    // Cut in the middle of the 10th sub-block, or right after its size byte.
    for (const auto& [transparent, cutAt] : {std::pair{false, 9 * 21 + 7}, {true, 9 * 21 + 7}, {false, 9 * 21 + 1}}) {
        const Bytes cut(full.begin(), full.begin() + cutAt);
        const LoadResult result = LoadGif(FrameWithData(40, 30, 4, cut, transparent, 9));
        ASSERT_FALSE(result.error);
        EXPECT_THAT(result.WarningTexts(), ElementsAre("Premature end of data"));
        const Bytes pixels = Decoded(result);
        // Codes of at most 12 bits: all but the last few pixels of the data read are right.
        const auto firstWrong = std::mismatch(pixels.begin(), pixels.end(), indices.begin()).first;
        EXPECT_GT(firstWrong - pixels.begin(), 100);
        const std::uint8_t fill = transparent ? 9 : 0;
        EXPECT_TRUE(std::all_of(pixels.end() - 500, pixels.end(), [&](std::uint8_t p) { return p == fill; }));
    }
}

TEST(GifLzw, DataEndingBeforeThePixelsDoWarnsOfUnderRun)
{
    const Bytes indices = RandomIndices(10 * 10, 4, 12);
    const Bytes codes = LzwEncode(Bytes(indices.begin(), indices.begin() + 50), {2, true, false});
    const LoadResult result = LoadGif(FrameWithData(10, 10, 2, SubBlocks(codes)));
    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.WarningTexts(), ElementsAre("Decoder bit buffer under-run"));
    const Bytes pixels = Decoded(result);
    EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 50), Bytes(indices.begin(), indices.begin() + 50));
    EXPECT_EQ(Bytes(pixels.begin() + 50, pixels.end()), Bytes(50, 0));
}

TEST(GifLzw, DataAfterTheLastPixelIsSkipped)
{
    // Frame 1 has its end code in a sub-block of its own after all pixels,
    // then more sub-blocks; frame 2 must still be found.
    const Bytes first = RandomIndices(16, 4, 1);
    Bytes data = SubBlocks(LzwEncode(first, {2, true, false}));
    data.pop_back();
    const Bytes tail = {1, 0x05, 3, 0xAA, 0xBB, 0xCC, 0};
    data.insert(data.end(), tail.begin(), tail.end());

    ImageSpec second;
    second.width = 4;
    second.height = 4;
    second.indices = RandomIndices(16, 4, 2);
    second.lzw.codeSize = 2;
    const Bytes bytes = GifWriter()
                            .Raw(FrameWithData(4, 4, 2, data))
                            .Image(second)
                            .Trailer()
                            .Data();
    const LoadResult result = LoadGif(bytes);
    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.warnings, IsEmpty());
    ASSERT_EQ(result.picture->Images().Count(), 2u);
    EXPECT_EQ(Decoded(result, 0), first);
    EXPECT_EQ(Decoded(result, 1), second.indices);
}

TEST(GifLzw, MalformedCodeStreams)
{
    // Code size 2: clear 4, end 5, first free entry 6. A 4x4 frame, fill 0.
    const auto pixels = [](Bytes start) {
        start.resize(16, 0);
        return start;
    };
    const struct {
        const char* name;
        std::vector<int> codes;
        Bytes pixels;
        const char* error;
    } cases[] = {
        {"end code right after clear", {4, 5}, pixels({}), nullptr},
        {"undefined code right after clear", {4, 7, 1}, pixels({}), nullptr},
        {"clears in a row", {4, 4, 4, 2, 4, 3, 1, 5}, pixels({2, 3, 1}), nullptr},
        {"code beyond the next free entry", {1, 7, 5}, pixels({1, 1, 1}), nullptr},
        // Entry 7 gets itself as prefix: 7 is read while 7 is the next free entry.
        {"entry that is its own prefix", {0, 7, 0, 7}, {}, "Circular decoder table entry"},
        // Entries 9 and 10 each other's prefix (after 3 literals the codes are 4 bits wide).
        {"two entries in a circle", {0, 0, 0, 10, 9, 0, 9}, {}, "Circular decoder table entry"},
    };
    for (const auto& c : cases) {
        const LoadResult result = LoadGif(FrameWithData(4, 4, 2, SubBlocks(PackedCodes(2, c.codes))));
        if (c.error != nullptr) {
            EXPECT_EQ(result.error, c.error) << c.name;
            continue;
        }
        ASSERT_FALSE(result.error) << c.name;
        EXPECT_THAT(result.warnings, IsEmpty()) << c.name;
        EXPECT_EQ(Decoded(result), c.pixels) << c.name;
    }
}

TEST(GifLzw, CodeSizesAboveElevenAreRefused)
{
    for (const int codeSize : {12, 13, 255}) {
        const LoadResult result = LoadGif(FrameWithData(2, 2, codeSize, {1, 0, 0}));
        EXPECT_EQ(result.error, "Invalid LZW code size") << codeSize;
    }
}

TEST(GifLzw, CodesStraddleSubBlocksOfOneByte)
{
    // 12-bit codes in one-byte sub-blocks: every code spans two or three of them.
    ImageSpec image;
    image.width = 64;
    image.height = 64;
    image.indices = RandomIndices(64 * 64, 256, 77);
    image.subBlockSize = 1;
    const LoadResult result = LoadGif(GifWriter().Header(64, 64, GreyTable(8)).Image(image).Trailer().Data());
    ASSERT_FALSE(result.error);
    EXPECT_EQ(Decoded(result), image.indices);
}

TEST(GifLzw, FramesBeyondTheReachOfTheirDataAreRefusedBeforeAllocating)
{
    const Bytes data = SubBlocks(LzwEncode(Bytes(10, 1), {2, true, true}));
    const LoadResult huge = LoadGif(FrameWithData(65535, 65535, 2, data));
    EXPECT_EQ(huge.error, "Image data too short for image size");

    // Pixels the data cannot reach keep the fill, up to 4M pixels a picture.
    const LoadResult filled = LoadGif(FrameWithData(2048, 2048, 2, data));
    ASSERT_FALSE(filled.error);
    const Bytes pixels = Decoded(filled);
    EXPECT_EQ(pixels.size(), 2048u * 2048u);
    EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 10), Bytes(10, 1));
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 2048 * 2048 - 10);

    // The allowance is for the whole picture: many frames without data
    // cannot claim it over and over.
    Bytes manyFrames = FrameWithData(1024, 1024, 2, {0});
    const Bytes noData = {',', 0, 0, 0, 0, 0, 4, 0, 4, 0, 2, 0};
    for (int i = 0; i < 5; ++i)
        manyFrames.insert(manyFrames.end(), noData.begin(), noData.end());
    const LoadResult many = LoadGif(manyFrames);
    EXPECT_EQ(many.error, "Image data too short for image size");
    EXPECT_EQ(many.picture->Images().Count(), 4u);

    // A frame whose data can fill it is never refused, however large.
    ImageSpec big;
    big.width = 4000;
    big.height = 1000;
    big.indices = Bytes(4000 * 1000, 3);
    big.lzw.codeSize = 2;
    const LoadResult large = LoadGif(GifWriter().Header(4000, 1000, GreyTable(2)).Image(big).Trailer().Data());
    ASSERT_FALSE(large.error);
    EXPECT_EQ(Decoded(large), big.indices);
}
