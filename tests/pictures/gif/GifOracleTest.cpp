// Our decoder against giflib's: pictures giflib encodes, pictures our test
// encoder makes, and every GIF of the shared suites that giflib reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "GifTestSupport.h"
#include "GiflibOracle.h"

namespace {

// The frames with an image, as giflib lists them (it has no frames of
// extensions only).
std::vector<const TGIFSubImage*> ImageFrames(const TGifPicture& picture)
{
    std::vector<const TGIFSubImage*> frames;
    for (std::size_t i = 0; i < picture.Images().Count(); ++i)
        if (!picture.Images()[i].Empty())
            frames.push_back(&picture.Images()[i]);
    return frames;
}

std::vector<TGIFColor> Colors(const TGIFColorMap& map) { return {map.Colors().begin(), map.Colors().end()}; }

// Everything the two decoders both report must agree.
void ExpectSameAsGiflib(const TGifPicture& ours, const OracleGif& theirs, const std::string& name)
{
    EXPECT_EQ(ours.Width(), theirs.width) << name;
    EXPECT_EQ(ours.Height(), theirs.height) << name;
    EXPECT_EQ(Colors(ours.Header().ColorMap()), theirs.globalColors) << name;
    const std::vector<const TGIFSubImage*> frames = ImageFrames(ours);
    ASSERT_EQ(frames.size(), theirs.frames.size()) << name;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const TGIFSubImage& frame = *frames[i];
        const OracleFrame& expected = theirs.frames[i];
        const std::string where = name + ", frame " + std::to_string(i);
        EXPECT_EQ(frame.Left(), expected.left) << where;
        EXPECT_EQ(frame.Top(), expected.top) << where;
        ASSERT_EQ(frame.Width(), expected.width) << where;
        ASSERT_EQ(frame.Height(), expected.height) << where;
        EXPECT_EQ(frame.Interlaced(), expected.interlaced) << where;
        EXPECT_EQ(Colors(frame.ColorMap()), expected.localColors) << where;
        EXPECT_TRUE(std::equal(frame.PixelIndices().begin(), frame.PixelIndices().end(), expected.indices.begin(),
                               expected.indices.end()))
            << where;
        const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
        EXPECT_EQ(frame.Transparent() ? control->TransparentColorIndex() : -1, expected.transparentIndex) << where;
        EXPECT_EQ(control != nullptr ? control->Disposal() : 0, expected.disposal) << where;
        EXPECT_EQ(control != nullptr ? control->Delay() : 0, expected.delay) << where;
    }
}

OracleFrame RandomFrame(int left, int top, int width, int height, int colors, std::uint32_t seed)
{
    OracleFrame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indices = RandomIndices(static_cast<std::size_t>(width * height), colors, seed);
    return frame;
}

}  // namespace

TEST(GifOracle, PicturesGiflibEncodes)
{
    std::vector<std::pair<std::string, OracleGif>> pictures;
    for (int bits = 1; bits <= 8; ++bits) {
        // Tables of 2..256 entries give code sizes 2..8.
        OracleGif gif{97, 53, GreyTable(bits), {RandomFrame(0, 0, 97, 53, 1 << bits, bits)}};
        pictures.emplace_back("code size of a " + std::to_string(1 << bits) + "-colour table", gif);
    }
    for (int height = 1; height <= 9; ++height) {
        OracleGif gif{5, height, GreyTable(3), {RandomFrame(0, 0, 5, height, 8, height)}};
        gif.frames[0].interlaced = true;
        pictures.emplace_back("interlaced, height " + std::to_string(height), gif);
    }
    OracleGif animated{64, 48, GreyTable(4), {}};
    for (int i = 0; i < 6; ++i) {
        OracleFrame frame = RandomFrame(i * 3, i * 2, 40 - i, 30 + i, 16, 100 + i);
        frame.delay = 10 * i;
        frame.disposal = i % 4;
        if (i % 2 == 1) {
            frame.localColors = GreyTable(i % 3 + 1);
            frame.indices = RandomIndices(frame.indices.size(), 1 << (i % 3 + 1), 200 + i);
        }
        if (i >= 3)
            frame.transparentIndex = i;
        frame.interlaced = i == 4;
        animated.frames.push_back(frame);
    }
    pictures.emplace_back("animated with local tables and transparency", animated);
    OracleGif noGlobalTable{20, 20, {}, {RandomFrame(0, 0, 20, 20, 32, 9)}};
    noGlobalTable.frames[0].localColors = GreyTable(5);
    pictures.emplace_back("local table only", noGlobalTable);

    for (const auto& [name, gif] : pictures) {
        const LoadResult result = LoadGif(EncodeWithGiflib(gif));
        ASSERT_FALSE(result.error) << name << ": " << *result.error;
        EXPECT_THAT(result.warnings, ::testing::IsEmpty()) << name;
        ExpectSameAsGiflib(*result.picture, gif, name);
    }
}

TEST(GifOracle, GiflibReadsWhatOurTestEncoderWrites)
{
    // Cross-checks the test encoder that the other tests rely on.
    for (int codeSize = 2; codeSize <= 8; ++codeSize) {
        for (const bool clearWhenFull : {true, false}) {
            ImageSpec image;
            image.width = 150;
            image.height = 90;
            image.indices = RandomIndices(150 * 90, 1 << codeSize, codeSize);
            image.lzw = {codeSize, clearWhenFull, true};
            image.subBlockSize = codeSize == 5 ? 1 : 255;
            const Bytes bytes = GifWriter().Header(150, 90, GreyTable(codeSize)).Image(image).Trailer().Data();
            const std::optional<OracleGif> theirs = DecodeWithGiflib(bytes);
            ASSERT_TRUE(theirs) << "code size " << codeSize;
            const LoadResult ours = LoadGif(bytes);
            ASSERT_FALSE(ours.error);
            ExpectSameAsGiflib(*ours.picture, *theirs, "code size " + std::to_string(codeSize));
        }
    }
}

TEST(GifOracle, SuiteFilesGiflibReads)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif)";
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*folder)) {
        if (entry.path().extension() != ".gif")
            continue;
        const Bytes bytes = ReadFileBytes(entry.path());
        const std::optional<OracleGif> theirs = DecodeWithGiflib(bytes);
        const LoadResult ours = LoadGif(bytes);
        if (!theirs || ours.error)
            continue;
        ExpectSameAsGiflib(*ours.picture, *theirs, entry.path().filename().string());
        ++compared;
    }
    EXPECT_GT(compared, 100);
}
