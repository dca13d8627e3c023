// The reader against the PNG suite and other collected files, with libpng as
// the independent decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "LibpngOracle.h"
#include "PngBuilder.h"
#include "PngToRgba.h"
#include "TestData.h"
#include "pictures/pngpicture.h"

namespace {

namespace fs = std::filesystem;

// Loads the file, and when it loads compares it with libpng's decode.
// Returns the outcome.
std::string CheckAgainstLibpng(const fs::path& path)
{
    SCOPED_TRACE(path.filename().string());
    const Bytes file = ReadFileBytes(path);
    TPngPicture picture;
    const std::string outcome = LoadOutcome(picture, file);
    if (outcome != "ok")
        return outcome;
    const auto oracle = DecodeWithLibpng(file);
    if (!oracle)
        return "ok, libpng refuses";
    const std::string difference =
        FirstDifference(ApplyReaderConversions(picture, *oracle), PngToRgba(picture));
    EXPECT_EQ(difference, "");
    return outcome;
}

fs::path RequireFolder(const fs::path& relative)
{
    const fs::path dir = TestDataDir() / relative;
    if (!fs::is_directory(dir))
        return {};
    return dir;
}

}  // namespace

TEST(PngSuite, EveryValidImageDecodesAsLibpngDoes)
{
    const fs::path dir = RequireFolder("pngsuite/png");
    if (dir.empty())
        GTEST_SKIP() << "the PNG suite is not at " << TestDataDir() / "pngsuite/png";
    int checked = 0;
    for (const fs::path& path : PngFilesIn(dir)) {
        if (path.filename().string()[0] == 'x')
            continue;
        EXPECT_EQ(CheckAgainstLibpng(path), "ok") << path.filename();
        ++checked;
    }
    EXPECT_EQ(checked, 161);
}

TEST(PngSuite, EveryBrokenImageIsRefusedForWhatIsWrongWithIt)
{
    const fs::path dir = RequireFolder("pngsuite/png");
    if (dir.empty())
        GTEST_SKIP() << "the PNG suite is not at " << TestDataDir() / "pngsuite/png";
    const std::map<std::string, std::string> expected = {
        {"xc1n0g08.png", "EPngInvalidIHDR"},        // colour type 1
        {"xc9n2c08.png", "EPngInvalidIHDR"},        // colour type 9
        {"xcrn0g04.png", "EPNGInvalidFileHeader"},  // line ends converted
        {"xcsn0g01.png", "EPngInvalidCRC"},         // IDAT checksum
        {"xd0n2c08.png", "EPngInvalidIHDR"},        // bit depth 0
        {"xd3n2c08.png", "EPngInvalidIHDR"},        // bit depth 3
        {"xd9n2c08.png", "EPngInvalidIHDR"},        // bit depth 99
        {"xdtn0g01.png", "EPNGNoImageData"},        // no IDAT
        {"xhdn0g08.png", "EPngInvalidCRC"},         // IHDR checksum
        {"xlfn0g04.png", "EPNGInvalidFileHeader"},  // line ends converted
        {"xs1n0g01.png", "EPNGInvalidFileHeader"},  // signature bytes
        {"xs2n0g01.png", "EPNGInvalidFileHeader"},
        {"xs4n0g01.png", "EPNGInvalidFileHeader"},
        {"xs7n0g01.png", "EPNGInvalidFileHeader"},
    };
    std::size_t seen = 0;
    for (const fs::path& path : PngFilesIn(dir)) {
        const std::string name = path.filename().string();
        if (name[0] != 'x')
            continue;
        ++seen;
        ASSERT_TRUE(expected.count(name)) << name << " is not in the table";
        EXPECT_EQ(LoadOutcome(ReadFileBytes(path)), expected.at(name)) << name;
    }
    EXPECT_EQ(seen, expected.size());
}

// Files from other decoders' test sets: the valid ones decode as libpng does;
// the broken ones end in one of the reader's own exceptions.
TEST(PngExtra, ValidFilesMatchLibpngAndBrokenOnesEndInTheReadersExceptions)
{
    const fs::path root = RequireFolder("png-extra");
    if (root.empty())
        GTEST_SKIP() << "png-extra is not at " << TestDataDir() / "png-extra";
    // Damaged files, and what the reader finds wrong with them.
    const std::map<std::string, std::string> refused = {
        {"image-png/issue#430.png", "EPngInvalidCRC"},  // ancillary iCCP checksum
        {"image-png/x_consecutive_idat.png", "EPNGMissingMultipleIDAT"},
        {"image-png/x_ihdr_missing.png", "EPNGIHDRNotFirst"},
        {"image-png/x_image-issue#1075.png", "EPNGMissingMultipleIDAT"},  // data ends early
        {"image-png/x_interlaced_chck.png", "EPngInvalidCRC"},
        {"image-png/x_issue#214.png", "EPngInvalidIHDR"},  // width 0
        {"image-png/x_issue#230.0.png", "EPNGSizeExceeds"},
        {"image-png/x_issue#230.1.png", "EPNGSizeExceeds"},
        {"image-png/x_unexpected_eof.png", "EPNGIHDRNotFirst"},
        {"libpng/bad_iCCP.png", "EPngInvalidCRC"},
        {"libpng/badadler.png", "EPNGZLIBError"},
        {"libpng/badcrc.png", "EPngInvalidCRC"},
        {"libpng/huge_IDAT.png", "EPngUnexpectedEnd"},  // length beyond the file
        {"libpng/huge_iCCP_chunk.png", "EPngUnexpectedEnd"},
        {"pillow/broken.png", "EPNGIHDRNotFirst"},
        {"pillow/broken_data_stream.png", "EPngInvalidCRC"},
        {"pillow/truncated_end_chunk.png", "EPngUnexpectedEnd"},
        {"pillow/truncated_image.png", "EPngUnexpectedEnd"},
        {"pillow/unknown_compression_method.png", "EPngInvalidCRC"},
        {"wuffs/hippopotamus.interlaced.truncated.png", "EPngUnexpectedEnd"},
        {"wuffs/hippopotamus.regular.truncated.png", "EPngUnexpectedEnd"},
    };
    std::size_t files = 0;
    for (const char* set : {"image-png", "libpng", "pillow", "wuffs"}) {
        for (const fs::path& path : PngFilesIn(root / set)) {
            const std::string name = std::string(set) + "/" + path.filename().string();
            const std::string outcome = CheckAgainstLibpng(path);
            ++files;
            if (refused.count(name))
                EXPECT_EQ(outcome, refused.at(name)) << name;
            else if (outcome.rfind("ok", 0) != 0)
                ADD_FAILURE() << name << " is refused: " << outcome;
        }
    }
    EXPECT_GE(files, 120u);
}
