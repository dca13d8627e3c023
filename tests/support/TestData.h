#pragma once
// Where the shared conformance data lives: TALLYGLASS_TESTDATA overrides the
// folder the build was configured with.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

inline std::filesystem::path TestDataDir()
{
    if (const char* dir = std::getenv("TALLYGLASS_TESTDATA"))
        return dir;
    return TALLYGLASS_TESTDATA_DIR;
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The .png files of a folder, sorted by name.
inline std::vector<std::filesystem::path> PngFilesIn(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".png")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}
