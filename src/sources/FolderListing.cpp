#include "sources/FolderListing.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>

#include "base/TextEncoding.h"
#else
#include <dirent.h>
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
