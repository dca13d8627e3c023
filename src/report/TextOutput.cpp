#include "report/TextOutput.h"

#ifdef _WIN32
#include <windows.h>

#include "base/TextEncoding.h"
#else
#include <unistd.h>

#include <cstdio>
#endif

StandardOutput::StandardOutput(Stream stream) : stream_(stream) {}

#ifdef _WIN32

void StandardOutput::Write(std::string_view utf8)
{
    const HANDLE handle = GetStdHandle(stream_ == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || utf8.empty())
        return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::u16string wide = Utf8ToUtf16(utf8);
        for (std::size_t at = 0; at < wide.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 16'384));
            if (!WriteConsoleW(handle, wide.data() + at, chunk, &written, nullptr) || written == 0)
                return;
            at += written;
        }
        return;
    }
    for (std::size_t at = 0; at < utf8.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(utf8.size() - at, 1 << 20));
        if (!WriteFile(handle, utf8.data() + at, chunk, &written, nullptr) || written == 0)
            return;  // a closed pipe: nobody reads the rest
        at += written;
    }
}

bool StandardOutput::IsTerminal() const
{
    const HANDLE handle = GetStdHandle(stream_ == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

#else

bool StandardOutput::IsTerminal() const
{
    return isatty(stream_ == Stream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void StandardOutput::Write(std::string_view utf8)
{
    std::FILE* file = stream_ == Stream::Output ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
}

#endif
