#include "support/FileReplace.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/KernelHandle.h"

namespace {

// The system's text for an error code, without its line end.
std::string SystemErrorText(DWORD error)
{
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "System error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ')
        message.pop_back();
    return message;
}

[[noreturn]] void ThrowWriteError(const std::string& path)
{
    const DWORD error = GetLastError();
    throw EWriteError("Cannot save \"" + path + "\": " + SystemErrorText(error));
}

std::string FolderOf(const std::string& path)
{
    std::vector<char> full(32768);
    char* namePart = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
    if (length == 0 || length >= full.size() || !namePart)
        ThrowWriteError(path);
    return std::string(full.data(), namePart);
}

// A temporary file that is deleted unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target)
    {
        char name[MAX_PATH + 1] = {};
        if (!GetTempFileNameA(FolderOf(target).c_str(), "tg", 0, name))
            ThrowWriteError(target);
        path_ = name;
    }
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    void Kept() { path_.clear(); }

private:
    std::string path_;
};

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    TemporaryFile temporary(path);
    {
        HANDLE opened = CreateFileA(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened == INVALID_HANDLE_VALUE)
            ThrowWriteError(path);
        const KernelHandle file(opened);
        while (!bytes.empty()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
                ThrowWriteError(path);
            bytes.remove_prefix(written);
        }
        if (!FlushFileBuffers(file.Get()))
            ThrowWriteError(path);
    }
    if (!MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowWriteError(path);
    temporary.Kept();
}
