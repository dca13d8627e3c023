// The About dialog's logo, resources/fernwick-logo.gif, has exactly the
// structure the dialog is made for, block by block.
#include <gtest/gtest.h>

#include <set>

#include "GifTestSupport.h"

namespace {

Bytes LogoBytes()
{
    return ReadFileBytes(std::filesystem::path(TALLYGLASS_SOURCE_DIR) / "resources/fernwick-logo.gif");
}

int Word(const Bytes& bytes, std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; }

// Skips data sub-blocks from at up to and including the zero size.
std::size_t SkipSubBlocks(const Bytes& bytes, std::size_t at)
{
    while (bytes.at(at) != 0)
        at += bytes.at(at) + 1u;
    return at + 1;
}

}  // namespace

TEST(GifLogoFile, OneGraphicControlExtensionAndOneImageAfterA64ColourTable)
{
    const Bytes logo = LogoBytes();
    ASSERT_GT(logo.size(), 13u + 192u);
    EXPECT_EQ(std::string(logo.begin(), logo.begin() + 6), "GIF89a");
    EXPECT_EQ(Word(logo, 6), 174);
    EXPECT_EQ(Word(logo, 8), 45);
    const std::uint8_t packed = logo[10];
    EXPECT_TRUE(packed & 0x80) << "global colour table";
    EXPECT_EQ(2 << (packed & 7), 64);

    std::size_t at = 13 + 64 * 3;
    int controls = 0, images = 0, otherBlocks = 0;
    while (at < logo.size() && logo[at] != ';') {
        if (logo[at] == '!' && logo.at(at + 1) == 0xF9) {
            ++controls;
            EXPECT_EQ(logo.at(at + 2), 4);
            const std::uint8_t flags = logo.at(at + 3);
            EXPECT_EQ((flags >> 2) & 7, 1) << "disposal";
            EXPECT_TRUE(flags & 1) << "transparency";
            EXPECT_EQ(Word(logo, at + 4), 20) << "delay";
            EXPECT_EQ(logo.at(at + 6), 37) << "transparent index";
            at = SkipSubBlocks(logo, at + 7);
        } else if (logo[at] == '!') {
            ++otherBlocks;
            at = SkipSubBlocks(logo, at + 2);
        } else if (logo[at] == ',') {
            ++images;
            EXPECT_EQ(Word(logo, at + 1), 0);
            EXPECT_EQ(Word(logo, at + 3), 0);
            EXPECT_EQ(Word(logo, at + 5), 174);
            EXPECT_EQ(Word(logo, at + 7), 45);
            EXPECT_EQ(logo.at(at + 9) & 0xC0, 0) << "no local table, not interlaced";
            EXPECT_EQ(logo.at(at + 10), 6) << "LZW minimum code size";
            at = SkipSubBlocks(logo, at + 11);
        } else {
            FAIL() << "unexpected byte " << int{logo[at]} << " at " << at;
        }
    }
    EXPECT_EQ(controls, 1);
    EXPECT_EQ(images, 1);
    EXPECT_EQ(otherBlocks, 0);
    EXPECT_EQ(at, logo.size() - 1) << "the trailer ends the file";
}

TEST(GifLogoFile, ReadsAsOneTransparentFrameOfArtwork)
{
    const LoadResult result = LoadGif(LogoBytes());
    ASSERT_FALSE(result.error);
    EXPECT_TRUE(result.warnings.empty());
    const TGifPicture& logo = *result.picture;
    ASSERT_EQ(logo.Images().Count(), 1u);
    const TGIFSubImage& frame = logo.Images()[0];
    ASSERT_TRUE(frame.Transparent());
    EXPECT_EQ(frame.GraphicControlExtension()->TransparentColorIndex(), 37);
    // Both the background showing through and a drawing of many colours.
    const std::set<std::uint8_t> used(frame.PixelIndices().begin(), frame.PixelIndices().end());
    EXPECT_TRUE(used.count(37));
    EXPECT_GT(used.size(), 16u);
}
