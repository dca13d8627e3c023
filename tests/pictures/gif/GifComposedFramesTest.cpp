// Frames of the peterdn suite composed as a viewer shows them, against the
// suite's expected frames (PNG files, read with libpng; host build only).
#include <gtest/gtest.h>
#include <png.h>

#include "GifCompositor.h"
#include "GifTestSupport.h"

namespace {

std::optional<Bytes> ReadPngAsRgba(const std::filesystem::path& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return pixels;
}

// Fully transparent pixels are equal whatever their colour.
bool SameRgba(const Bytes& a, const Bytes& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); i += 4) {
        if (a[i + 3] == 0 && b[i + 3] == 0)
            continue;
        if (!std::equal(a.begin() + static_cast<std::ptrdiff_t>(i), a.begin() + static_cast<std::ptrdiff_t>(i + 4),
                        b.begin() + static_cast<std::ptrdiff_t>(i)))
            return false;
    }
    return true;
}

}  // namespace

TEST(GifComposedFrames, PeterdnSuite)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif/peterdn-gif-test-suite");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif/peterdn-gif-test-suite)";
    int frames = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
        if (entry.path().extension() != ".gif")
            continue;
        const LoadResult result = LoadGif(ReadFileBytes(entry.path()));
        ASSERT_FALSE(result.error) << entry.path();
        const std::vector<Bytes> composed = ComposeFrames(*result.picture);
        const std::string stem = entry.path().stem().string();
        std::size_t expectedFrames = 0;
        for (;; ++expectedFrames) {
            const std::optional<Bytes> expected =
                ReadPngAsRgba(*folder / "frames" / (stem + "-" + std::to_string(expectedFrames) + ".png"));
            if (!expected)
                break;
            ASSERT_LT(expectedFrames, composed.size()) << stem;
            EXPECT_TRUE(SameRgba(composed[expectedFrames], *expected)) << stem << " frame " << expectedFrames;
            ++frames;
        }
        if (expectedFrames > 0) {  // the static pictures come without expected frames
            EXPECT_EQ(composed.size(), expectedFrames) << stem;
        }
    }
    EXPECT_GT(frames, 40);
}
