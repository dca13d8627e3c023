// tallyglass-demo-data: writes a demo UserAssist area into the current user's
// registry of the Windows (or Wine prefix) it runs in, replacing the one there.
// Not part of the program, which only ever reads the registry.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "DemoUserAssist.h"
#include "Win32RegFileWriter.h"
#include "Win32UserAssistWriter.h"

namespace {

constexpr const char* Usage =
    "usage: tallyglass-demo-data --write-current-user [--values N | --reg FILE]\n"
    "\n"
    "Replaces the current user's UserAssist area\n"
    "(HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist)\n"
    "with about 60 realistic entries dated relative to now, with N generated\n"
    "entries in one Count key (--values, for benchmarks), or with the current-user\n"
    "keys of a registry export (--reg, names kept in UTF-16). It writes to the\n"
    "registry, so it does nothing without --write-current-user.\n";

bool ParseCount(const char* text, int& count)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 10'000'000)
        return false;
    count = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    bool confirmed = false;
    int syntheticCount = -1;
    const char* exportFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--write-current-user") == 0) {
            confirmed = true;
        } else if (std::strcmp(argv[i], "--values") == 0 && i + 1 < argc && ParseCount(argv[i + 1], syntheticCount)) {
            ++i;
        } else if (std::strcmp(argv[i], "--reg") == 0 && i + 1 < argc && syntheticCount < 0) {
            exportFile = argv[++i];
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    if (!confirmed || (exportFile && syntheticCount >= 0)) {
        std::fputs(Usage, stderr);
        return 2;
    }

    try {
        if (exportFile) {
            DeleteUserAssistArea();
            WriteRegFileToCurrentUser(exportFile);
            std::printf("wrote the current-user keys of %s\n", exportFile);
            return 0;
        }
        const DateTimeParts now = DecodeDateTime(Now());
        const UserAssistArea area =
            syntheticCount >= 0 ? MakeSyntheticUserAssistArea(syntheticCount, now) : MakeDemoUserAssistArea(now);
        ReplaceUserAssistArea(area);
        std::size_t values = 0;
        for (const UserAssistSubKey& subKey : area)
            values += subKey.Values.size();
        std::printf("wrote %zu UserAssist values in %zu subkeys\n", values, area.size());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tallyglass-demo-data: %s\n", error.what());
        return 1;
    }
}
