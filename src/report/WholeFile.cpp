#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "report/SourceReaders.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::filesystem::path FilePath(const std::string& utf8Path)
{
    return std::u8string(utf8Path.begin(), utf8Path.end());
}

std::FILE* OpenForReading(const std::string& utf8Path)
{
#ifdef _WIN32
    return _wfopen(FilePath(utf8Path).c_str(), L"rb");
#else
    return std::fopen(utf8Path.c_str(), "rb");
#endif
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& utf8Path)
{
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(utf8Path));
    if (!file)
        throw EFileUnreadable(std::string("cannot open: ") + std::strerror(errno));
    // Room for the size the file has, then more should it grow meanwhile.
    std::vector<std::uint8_t> bytes;
    std::error_code error;
    if (const std::uintmax_t size = std::filesystem::file_size(FilePath(utf8Path), error); !error)
        bytes.reserve(static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    do {
        bytes.resize(std::max(bytes.capacity(), filled + (1 << 16)));
        filled += std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
    } while (filled == bytes.size() && !std::feof(file.get()) && !std::ferror(file.get()));
    bytes.resize(filled);
    if (std::ferror(file.get()))
        throw EFileUnreadable(std::string("cannot read: ") + std::strerror(errno));
    return bytes;
}
