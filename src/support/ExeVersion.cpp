#include "support/ExeVersion.h"

#include <windows.h>
#include <imagehlp.h>

#include <vector>

[[noreturn]] void RaiseLastOSError()
{
    const DWORD code = GetLastError();
    if (code == 0)
        throw EOSError(0, "A call to an OS function failed");
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string systemText(text ? text : "", length);
    LocalFree(text);
    while (!systemText.empty() && static_cast<unsigned char>(systemText.back()) <= ' ')
        systemText.pop_back();
    throw EOSError(code, "System Error.  Code: " + std::to_string(code) + ".\r\n" + systemText);
}

std::string ExePath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

TExeVersion GetExeVersion()
{
    const std::string path = ExePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<std::uint8_t> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data()) ||
        !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return {};
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
            LOWORD(fixed->dwFileVersionLS)};
}

std::string FormatExeVersion()
{
    return FormatVersionText(GetExeVersion());
}

namespace {

// A mapped executable image, released on every way out.
class MappedImage {
public:
    explicit MappedImage(const std::string& path)
    {
        if (!MapAndLoad(path.c_str(), nullptr, &image_, FALSE, TRUE))
            RaiseLastOSError();
    }
    ~MappedImage() { UnMapAndLoad(&image_); }
    MappedImage(const MappedImage&) = delete;
    MappedImage& operator=(const MappedImage&) = delete;

    const LOADED_IMAGE& Image() const { return image_; }

private:
    LOADED_IMAGE image_{};
};

}  // namespace

TDateTime GetExeLinkDate(const std::string& path)
{
    const MappedImage mapped(path);
    return LinkTimeStampToDateTime(mapped.Image().FileHeader->FileHeader.TimeDateStamp);
}
