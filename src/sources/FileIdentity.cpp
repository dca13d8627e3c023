#include "sources/FileIdentity.h"

#ifdef _WIN32
#include <windows.h>

#include <memory>
#include <optional>
#include <tuple>

#include "base/TextEncoding.h"
#else
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
using Identity = std::tuple<DWORD, DWORD, DWORD>;  // volume serial number, file index high and low

std::optional<Identity> IdentityOf(const std::string& path)
{
    const std::u16string wide = Utf8ToUtf16(path);
    // Opened for no access at all, which is enough to ask who it is, and sharing everything.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, CloseHandle);
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return std::nullopt;
    return Identity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}
#endif

}  // namespace

bool SameFile(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    const std::optional<Identity> first = IdentityOf(a);
    const std::optional<Identity> second = IdentityOf(b);
    return first && second && *first == *second;
#else
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
#endif
}
