// tallyglass.exe as a whole, started as its own process: the show command it
// honours and the exit code of every way of closing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "support/ExeVersion.h"

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kPatienceMs = 30000;

// The build's Unix path as a path on Wine's drive Z:, which maps the Unix root.
std::string ProgramPath()
{
    std::string path = TALLYGLASS_EXE;
    path.insert(0, "Z:");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool WaitUntil(const std::function<bool()>& condition)
{
    for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
        if (condition())
            return true;
        Sleep(kPollMs);
    }
    return condition();
}

// One run of the program, ended (by force if need be) when the test ends.
class RunningProgram {
public:
    explicit RunningProgram(WORD showCommand)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = showCommand;
        std::string commandLine = "\"" + ProgramPath() + "\"";
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
    }
    ~RunningProgram()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return started_; }

    // This run's main window, once the program has shown it. Tests running
    // beside this one share the window list, so the window is matched by
    // process, never by class alone.
    HWND MainWindow() const
    {
        HWND found = nullptr;
        WaitUntil([&] {
            found = nullptr;
            while ((found = FindWindowExA(nullptr, found, "TTallyglassViewer", nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == process_.dwProcessId)
                    break;
            }
            return found && IsWindowVisible(found);
        });
        return found;
    }

    // The exit code once the program has ended, or -1 when it does not end.
    long ExitCode() const
    {
        if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

HWND ChildButton(HWND parent, const char* caption)
{
    struct Search {
        const char* Caption;
        HWND Found;
    } search{caption, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[32] = {}, text[64] = {};
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, text, sizeof text);
            if (_stricmp(name, "Button") == 0 && std::strcmp(text, s->Caption) == 0) {
                s->Found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

TEST(Program, HonoursTheStartUpShowCommand)
{
    const struct {
        WORD Command;
        bool Maximised, Minimised;
    } cases[] = {
        {SW_SHOWMAXIMIZED, true, false},
        {SW_SHOWMINNOACTIVE, false, true},
        {SW_SHOWNORMAL, false, false},
        {SW_SHOWMINIMIZED, false, false},  // only 7 minimises
    };
    for (const auto& test : cases) {
        RunningProgram program(test.Command);
        ASSERT_TRUE(program.Started());
        HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << test.Command;
        EXPECT_EQ(IsZoomed(main) != FALSE, test.Maximised) << test.Command;
        EXPECT_EQ(IsIconic(main) != FALSE, test.Minimised) << test.Command;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.ExitCode(), 0) << test.Command;
    }
}

TEST(Program, CarriesTheReleaseLinkTimeWheneverItWasBuilt)
{
    const TDateTime released = EncodeDate(2006, 3, 22) + (16 + (23 + 48 / 60.0) / 60) / 24;  // 16:23:48 UTC
    EXPECT_NEAR(GetExeLinkDate(ProgramPath()), released, 0.5 / 86400);
}

// File, Close is driven in-process by the window tests: Wine keeps a menu's
// items private to the process that made it.
TEST(Program, EndsWithExitCodeZeroWhicheverWayItIsClosed)
{
    const struct {
        const char* Way;
        std::function<void(HWND)> Close;
    } ways[] = {
        {"close box", [](HWND main) { PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [](HWND main) { PostMessageA(main, WM_SYSKEYDOWN, VK_F4, 1 << 29); }},
        {"viewer's Close button", [](HWND main) { PostMessageA(ChildButton(main, "Close"), BM_CLICK, 0, 0); }},
    };
    for (const auto& way : ways) {
        RunningProgram program(SW_SHOWNORMAL);
        HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << way.Way;
        way.Close(main);
        EXPECT_EQ(program.ExitCode(), 0) << way.Way;
    }
}

}  // namespace
