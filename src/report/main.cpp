// tallyglass-report: the UserAssist list of hive files, registry exports or
// (on Windows) the current user's registry, as a table, CSV or JSON.
#include <exception>
#include <string>
#include <vector>

#include "report/ReportTool.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "base/TextEncoding.h"

namespace {

// The arguments in UTF-8, whatever the ANSI code page can carry.
std::vector<std::string> Arguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return arguments;
}

}  // namespace
#else
namespace {

std::vector<std::string> Arguments(int argc, char** argv)
{
    return {argv + 1, argv + argc};
}

}  // namespace
#endif

int main(int argc, char** argv)
{
    StandardOutput out(StandardOutput::Stream::Output);
    StandardOutput err(StandardOutput::Stream::Error);
    try {
        return RunReport(Arguments(argc, argv), out, err);
    } catch (const std::exception& error) {  // out of memory while writing, say
        err.Write(std::string("tallyglass-report: ") + error.what() + "\n");
        return 3;
    }
}
