#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "report/SourceReaders.h"

#ifdef _WIN32
#include "base/TextEncoding.h"
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::FILE* OpenForReading(const std::string& utf8Path)
{
#ifdef _WIN32
    const std::u16string path = Utf8ToUtf16(utf8Path);
    return _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
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
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[1 << 16];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get()))
        bytes.insert(bytes.end(), buffer, buffer + read);
    if (std::ferror(file.get()))
        throw EFileUnreadable(std::string("cannot read: ") + std::strerror(errno));
    return bytes;
}
