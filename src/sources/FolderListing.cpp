#include "sources/FolderListing.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>

#include "base/TextEncoding.h"
#else
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#endif

namespace {

#ifdef _WIN32
constexpr const char* Separators = "\\/";
#else
constexpr const char* Separators = "/";
#endif

#ifndef _WIN32
struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};
#endif

bool IsDotOrDotDot(const std::string& name)
{
    return name == "." || name == "..";
}

#ifdef _WIN32
std::string SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        return "system error " + std::to_string(error);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> freer(text, LocalFree);
    std::string message = Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
    // The system ends its messages with a full stop and a line break.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

FolderEntry::Kind KindOf(DWORD attributes)
{
    // A junction or a symbolic link to a folder is a reparse point first.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return FolderEntry::Kind::Other;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? FolderEntry::Kind::Folder : FolderEntry::Kind::File;
}
#else
FolderEntry::Kind KindOf(const std::string& path)
{
    struct stat status;
    if (lstat(path.c_str(), &status) != 0)
        return FolderEntry::Kind::Other;
    if (S_ISDIR(status.st_mode))
        return FolderEntry::Kind::Folder;
    return S_ISREG(status.st_mode) ? FolderEntry::Kind::File : FolderEntry::Kind::Other;
}
#endif

}  // namespace

std::vector<std::string> NamesInFolder(const std::string& folder)
{
    std::vector<std::string> names;
#ifdef _WIN32
    const std::u16string pattern = Utf8ToUtf16(PathIn(folder, "*"));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(reinterpret_cast<const wchar_t*>(pattern.c_str()), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    const std::unique_ptr<void, decltype(&FindClose)> closer(search, FindClose);
    do {
        std::string name = Utf16ToUtf8(reinterpret_cast<const char16_t*>(found.cFileName));
        if (!IsDotOrDotDot(name))
            names.push_back(std::move(name));
    } while (FindNextFileW(search, &found));
#else
    const std::unique_ptr<DIR, FolderCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (!IsDotOrDotDot(name))
            names.push_back(std::move(name));
    }
#endif
    return names;
}

std::optional<std::vector<FolderEntry>> EntriesInFolder(const std::string& folder, std::string& whyNot)
{
    std::vector<FolderEntry> entries;
#ifdef _WIN32
    const std::u16string pattern = Utf8ToUtf16(PathIn(folder, "*"));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(reinterpret_cast<const wchar_t*>(pattern.c_str()), &found);
    if (search == INVALID_HANDLE_VALUE) {
        whyNot = SystemErrorText(GetLastError());
        return std::nullopt;
    }
    const std::unique_ptr<void, decltype(&FindClose)> closer(search, FindClose);
    do {
        std::string name = Utf16ToUtf8(reinterpret_cast<const char16_t*>(found.cFileName));
        if (!IsDotOrDotDot(name))
            entries.push_back({std::move(name), KindOf(found.dwFileAttributes)});
    } while (FindNextFileW(search, &found));
#else
    errno = 0;
    const std::unique_ptr<DIR, FolderCloser> dir(opendir(folder.c_str()));
    if (!dir) {
        whyNot = std::strerror(errno);
        return std::nullopt;
    }
    while (const dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (!IsDotOrDotDot(name))
            entries.push_back({name, KindOf(PathIn(folder, name))});
    }
#endif
    return entries;
}

std::string AbsolutePath(const std::string& path)
{
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(path);
    std::u16string full(MAX_PATH, u'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD length =
            GetFullPathNameW(reinterpret_cast<const wchar_t*>(wide.c_str()), static_cast<DWORD>(full.size()),
                             reinterpret_cast<wchar_t*>(full.data()), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            return Utf16ToUtf8(full);
        }
        full.resize(length);
    }
    return path;
#else
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), std::free);
    return resolved ? std::string(resolved.get()) : path;
#endif
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of(Separators);
    if (slash == std::string::npos)
        return ".";
    // A root keeps its separator: "/", or "C:\" on Windows.
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of(Separators);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PathIn(const std::string& folder, const std::string& name)
{
    const std::size_t slash = folder.find_last_of(Separators);
    const char separator = slash == std::string::npos ? Separators[0] : folder[slash];
    if (!folder.empty() && folder.back() == separator)
        return folder + name;
    return folder + separator + name;
}
