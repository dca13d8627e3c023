#include "support/Shell.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
class Win32Shell final : public Shell {
public:
    std::uintptr_t DesktopWindow() override { return reinterpret_cast<std::uintptr_t>(GetDesktopWindow()); }

    std::intptr_t Execute(const ShellCall& call) override
    {
        const auto orNull = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
        const HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(call.Owner), orNull(call.Verb), call.File.c_str(),
                                               orNull(call.Parameters), orNull(call.Directory), call.ShowCommand);
        return reinterpret_cast<std::intptr_t>(result);
    }
};
using DefaultShell = Win32Shell;
#else
class NoShell final : public Shell {
public:
    std::uintptr_t DesktopWindow() override { return 0; }
    std::intptr_t Execute(const ShellCall&) override { return 0; }
};
using DefaultShell = NoShell;
#endif

Shell*& CurrentShellPointer()
{
    static DefaultShell defaultShell;
    static Shell* current = &defaultShell;
    return current;
}

}  // namespace

Shell& CurrentShell()
{
    return *CurrentShellPointer();
}

ScopedShell::ScopedShell(Shell& shell) : ScopedOverride(CurrentShellPointer(), shell) {}
