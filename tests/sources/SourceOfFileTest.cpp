// A file named without its kind is read as what its content says, whatever
// its name claims.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestData.h"
#include "sources/SourceOfFile.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(SourceOfFile, TheContentDecidesNotTheName)
{
    const fs::path hives = TestDataDir() / "hives";
    if (!fs::is_directory(hives))
        GTEST_SKIP() << "no " << hives;
    const fs::path scratch = fs::temp_directory_path() / "tallyglass-source-of-file";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const auto hive = ReadFileBytes(hives / "plaso" / "NTUSER-WIN7.DAT");
    const auto unicodeExport = ReadFileBytes(hives / "plaso" / "NTUSER-WIN7.DAT.UserAssist.reg");
    ASSERT_GT(hive.size(), 4096u);
    ASSERT_GT(unicodeExport.size(), 2u);

    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        SourceKind Kind;
    } cases[] = {
        {"NTUSER.DAT", hive, SourceKind::Hive},
        {"hive-named.reg", hive, SourceKind::Hive},
        {"export.reg", unicodeExport, SourceKind::RegExport},
        {"export-named.dat", unicodeExport, SourceKind::RegExport},
        {"ansi.reg", {'R', 'E', 'G', 'E', 'D', 'I', 'T', '4', '\r', '\n'}, SourceKind::RegExport},
        {"short.dat", {'r', 'e', 'g'}, SourceKind::RegExport},  // the export reader then says it is none
        {"empty.dat", {}, SourceKind::RegExport},
    };
    for (const auto& test : cases) {
        const fs::path path = scratch / test.Name;
        WriteFile(path, test.Bytes);
        const SourceSpec source = SourceOfFile(path.string());
        EXPECT_EQ(source.Kind, test.Kind) << test.Name;
        EXPECT_EQ(source.File, path.string()) << test.Name;
    }
    // One that cannot be read goes to the hive reader, which says why.
    EXPECT_EQ(SourceOfFile((scratch / "missing.dat").string()).Kind, SourceKind::Hive);
    fs::remove_all(scratch);
}

}  // namespace
