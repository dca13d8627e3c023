#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "base/TextEncoding.h"
#include "sources/SourceReaders.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Windows opens a UTF-8 name through its UTF-16 form. (std::filesystem would
// do the same, but would bring the whole of the library's locales into the
// executable.)
std::FILE* OpenForReading(const std::string& utf8Path)
{
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(utf8Path);
    return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb");
#else
    return std::fopen(utf8Path.c_str(), "rb");
#endif
}

// The size the file system gives an open file; nothing for a pipe or device.
std::optional<std::size_t> SizeOf(std::FILE* file)
{
#ifdef _WIN32
    struct _stat64 status;
    const bool known = _fstat64(_fileno(file), &status) == 0;
#else
    struct stat status;
    const bool known = fstat(fileno(file), &status) == 0;
#endif
    if (!known || (status.st_mode & S_IFMT) != S_IFREG)
        return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
}

using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

OpenFile OpenOrThrow(const std::string& utf8Path)
{
    errno = 0;
    OpenFile file(OpenForReading(utf8Path));
    if (!file)
        throw EFileUnreadable(std::string("cannot open: ") + std::strerror(errno));
    return file;
}

}  // namespace

std::vector<std::uint8_t> ReadFileStart(const std::string& utf8Path, std::size_t count)
{
    const OpenFile file = OpenOrThrow(utf8Path);
    std::vector<std::uint8_t> bytes(count);
    bytes.resize(std::fread(bytes.data(), 1, count, file.get()));
    if (std::ferror(file.get()))
        throw EFileUnreadable(std::string("cannot read: ") + std::strerror(errno));
    return bytes;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& utf8Path)
{
    const OpenFile file = OpenOrThrow(utf8Path);
    // Room for the size the file has, then more should it grow meanwhile.
    std::vector<std::uint8_t> bytes;
    if (const std::optional<std::size_t> size = SizeOf(file.get()))
        bytes.reserve(*size + 1);
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
