// Damaged streams end in a picture or a GIFException, never in anything else.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "GifTestSupport.h"

namespace {

// A small stream with a bit of everything: extensions of every kind, a
// local table, interlacing, transparency, several frames.
Bytes EverythingGif()
{
    ImageSpec first;
    first.width = 7;
    first.height = 5;
    first.indices = RandomIndices(35, 4, 1);
    first.lzw.codeSize = 2;
    ImageSpec second = first;
    second.left = 2;
    second.top = 1;
    second.height = 9;
    second.interlaced = true;
    second.localTable = GreyTable(3);
    second.indices = RandomIndices(63, 8, 2);
    second.lzw.codeSize = 3;
    second.subBlockSize = 4;
    return GifWriter()
        .Header(10, 10, GreyTable(2))
        .Application("NETSCAPE2.0", {{1, 0, 0}})
        .Comment({"abc", "defgh"})
        .GraphicControl(1, true, 3, 10)
        .Image(first)
        .Raw({0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 4, 4, 1, 0, 2, 'h', 'i', 0})
        .Application("XMP DataXMP", {{1, 2, 3}})
        .Image(second)
        .Comment({"end"})
        .Trailer()
        .Data();
}

void ExpectConsistentFrames(const TGifPicture& picture)
{
    for (std::size_t i = 0; i < picture.Images().Count(); ++i) {
        const TGIFSubImage& frame = picture.Images()[i];
        if (!frame.Empty()) {
            EXPECT_EQ(frame.PixelIndices().size(), static_cast<std::size_t>(frame.Width()) * frame.Height());
        }
    }
}

}  // namespace

TEST(GifRobustness, TruncationAtEveryByte)
{
    const Bytes whole = EverythingGif();
    const LoadResult complete = LoadGif(whole);
    ASSERT_FALSE(complete.error);
    EXPECT_THAT(complete.warnings, ::testing::IsEmpty());
    ASSERT_EQ(complete.picture->Images().Count(), 3u);

    std::set<std::string> errors;
    int loaded = 0;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const LoadResult result = LoadGif(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        if (result.error) {
            errors.insert(*result.error);
            EXPECT_EQ(result.positionAfter, 0) << size;
        } else {
            ++loaded;
        }
        ExpectConsistentFrames(*result.picture);
        // Frames read whole before the cut are exactly the complete file's.
        for (std::size_t i = 0; i + 1 < result.picture->Images().Count(); ++i) {
            const auto cut = result.picture->Images()[i].PixelIndices();
            const auto full = complete.picture->Images()[i].PixelIndices();
            EXPECT_TRUE(std::equal(cut.begin(), cut.end(), full.begin(), full.end())) << size;
        }
    }
    // A cut ends a fixed-size read early or leaves image data short (a warning).
    EXPECT_THAT(errors, ::testing::ElementsAre("Premature end of data"));
    EXPECT_GT(loaded, 50);
}

TEST(GifRobustness, RandomDamage)
{
    const Bytes whole = EverythingGif();
    std::mt19937 random(2024);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = whole;
        const int changes = static_cast<int>(random() % 4) + 1;
        for (int i = 0; i < changes; ++i)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        const LoadResult result = LoadGif(damaged);  // anything but GIFException escapes
        refused += result.error ? 1 : 0;
        ExpectConsistentFrames(*result.picture);
    }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, 3000);
}
