#pragma once
// The shell seam: the two shell calls the program makes, behind an interface so
// that tests can record them instead of starting programs.
#include <cstdint>
#include <string>

#include "base/ScopedOverride.h"

// One ShellExecute call. Empty Verb, Parameters and Directory mean "none" and
// reach the shell as null pointers; File is passed as it stands.
struct ShellCall {
    std::uintptr_t Owner = 0;
    std::string Verb;
    std::string File;
    std::string Parameters;
    std::string Directory;
    int ShowCommand = 0;

    friend bool operator==(const ShellCall&, const ShellCall&) = default;
};

constexpr int ShellShowNormal = 1;  // SW_SHOWNORMAL

class Shell {
public:
    virtual ~Shell() = default;
    // The desktop window's handle (GetDesktopWindow).
    virtual std::uintptr_t DesktopWindow() = 0;
    // ShellExecuteA's result: above 32 on success.
    virtual std::intptr_t Execute(const ShellCall& call) = 0;
};

// The process's shell: the Win32 shell on Windows; elsewhere one that starts
// nothing and answers every call with 0 (failure).
Shell& CurrentShell();

// Makes another shell current for its lifetime (tests); restores the previous
// one on destruction.
class ScopedShell : public ScopedOverride<Shell> {
public:
    explicit ScopedShell(Shell& shell);
};
