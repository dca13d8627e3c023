#include "support/WebLauncher.h"

#include "registry/Registry.h"
#include "support/Shell.h"

namespace {

constexpr std::intptr_t ShellExecuteFailureLimit = 32;

// The default value of the "http" open command, or "" when it cannot be read.
std::string RegisteredHttpCommand()
{
    // Opened with full access, as the launcher always has: where the user may
    // not write the key, the open fails and the launcher does nothing.
    TRegistry registry(RegistryAccess::AllAccess);
    registry.SetRootKey(RegistryRoot::ClassesRoot);
    registry.OpenKey("\\http\\shell\\open\\command");
    try {
        return registry.ReadString("");
    } catch (const ERegistryException&) {
        return {};
    }
}

}  // namespace

std::string BrowserPathOfCommand(const std::string& command)
{
    const std::size_t opening = command.find('"');
    const std::string afterOpening = opening == std::string::npos ? command : command.substr(opening + 1);
    const std::size_t closing = afterOpening.find('"');
    return closing == std::string::npos ? std::string() : afterOpening.substr(0, closing);
}

void OpenWebPage(const std::string& url)
{
    const std::string command = RegisteredHttpCommand();
    if (command.empty())
        return;
    Shell& shell = CurrentShell();
    const std::uintptr_t desktop = shell.DesktopWindow();
    const std::intptr_t result =
        shell.Execute({desktop, "open", BrowserPathOfCommand(command), url, "", ShellShowNormal});
    if (result <= ShellExecuteFailureLimit)
        shell.Execute({desktop, "open", url, "", "", ShellShowNormal});
}
