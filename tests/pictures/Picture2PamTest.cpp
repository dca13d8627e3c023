// picture2pam, run as a program: what it writes, and how it refuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "LibpngOracle.h"
#include "PngBuilder.h"
#include "TestData.h"

namespace {

namespace fs = std::filesystem;

class Picture2Pam : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("picture2pam-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const Bytes& bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Runs the tool; returns its exit code, with its error output in `errors`.
    int Run(const fs::path& input, const fs::path& output, std::string& errors)
    {
        const fs::path errorFile = dir_ / "stderr.txt";
        const std::string command = std::string("'") + PICTURE2PAM_PATH + "' '" + input.string() + "' '" +
                                    output.string() + "' 2>'" + errorFile.string() + "'";
        const int status = std::system(command.c_str());
        std::ifstream in(errorFile);
        errors.assign(std::istreambuf_iterator<char>(in), {});
        return WEXITSTATUS(status);
    }

    fs::path dir_;
};

RgbaImage ReadPam(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line, header;
    RgbaImage image;
    while (std::getline(in, line) && line != "ENDHDR") {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "WIDTH")
            fields >> image.width;
        if (key == "HEIGHT")
            fields >> image.height;
        if (key == "TUPLTYPE" || key == "MAXVAL" || key == "DEPTH" || key == "P7")
            header += line + "\n";
    }
    EXPECT_EQ(header, "P7\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n");
    image.pixels.assign(std::istreambuf_iterator<char>(in), {});
    return image;
}

}  // namespace

TEST_F(Picture2Pam, WritesWhatLibpngDecodesAsRgba)
{
    // A palette image with graded tRNS: alpha comes from tRNS by index.
    PngImageSpec spec;
    spec.width = 6;
    spec.height = 3;
    spec.colorType = 3;
    spec.bitDepth = 4;
    for (int i = 0; i < 16 * 3; ++i)
        spec.palette.push_back(static_cast<std::uint8_t>(i * 5));
    spec.transparency = {0, 64, 128};
    spec.rows = {{0x01, 0x23, 0x45}, {0x67, 0x89, 0xAB}, {0xCD, 0xEF, 0x10}};
    const Bytes file = EncodeWithLibpng(spec);
    std::string errors;
    ASSERT_EQ(Run(Write("in.png", file), dir_ / "out.pam", errors), 0) << errors;
    const auto expected = DecodeWithLibpng(file);
    ASSERT_TRUE(expected);
    EXPECT_EQ(FirstDifference(*expected, ReadPam(dir_ / "out.pam")), "");
}

TEST_F(Picture2Pam, ARefusedFileExitsWithTheExceptionClassAndMessage)
{
    Bytes file = PngBuilder().Ihdr(1, 1, 8, 0).ImageData({0, 0}).Iend();
    file[20] ^= 1;  // inside IHDR's data: its CRC no longer matches
    std::string errors;
    EXPECT_EQ(Run(Write("bad.png", file), dir_ / "bad.pam", errors), 1);
    EXPECT_EQ(errors, "EPngInvalidCRC: This \"Portable Network Graphics\" image is not valid because it contains "
                      "invalid pieces of data (crc error)\n");

    // The extension picks the reader, as the picture-format list maps it,
    // whatever the file holds.
    Bytes damagedSignature = PngBuilder().Ihdr(1, 1, 8, 0).ImageData({0, 0}).Iend();
    damagedSignature[1] = 'Q';
    EXPECT_EQ(Run(Write("damaged.PNG", damagedSignature), dir_ / "damaged.pam", errors), 1);
    EXPECT_EQ(errors, "EPNGInvalidFileHeader: The file being readed is not a valid \"Portable Network Graphics\" "
                      "image because it contains an invalid header. This file may be corruped, try obtaining it "
                      "again.\n");
    EXPECT_EQ(Run(Write("a-gif.png", Bytes{'G', 'I', 'F', '8', '9', 'a'}), dir_ / "a-gif.pam", errors), 1);
    EXPECT_EQ(errors.substr(0, 22), "EPNGInvalidFileHeader:");
    EXPECT_EQ(Run(Write("text.txt", Bytes{'h', 'e', 'l', 'l', 'o'}), dir_ / "text.pam", errors), 1);
    EXPECT_EQ(errors, "Unknown picture file extension (.txt)\n");
}
