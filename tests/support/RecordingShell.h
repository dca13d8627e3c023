#pragma once
// A shell for tests: records every ShellExecute call instead of starting
// anything, and answers with configured results.
//
//   RecordingShell shell;
//   ScopedShell use(shell);            // CurrentShell() is now `shell`
//   shell.Results = {2};               // first call fails (SE_ERR_FNF), later ones succeed
//   ... code under test ...
//   EXPECT_EQ(shell.Calls.size(), 2u);
#include <deque>
#include <ostream>
#include <vector>

#include "support/Shell.h"

class RecordingShell final : public Shell {
public:
    static constexpr std::uintptr_t DefaultDesktop = 0x10010;
    static constexpr std::intptr_t Success = 42;  // any result above 32

    std::uintptr_t Desktop = DefaultDesktop;
    std::vector<ShellCall> Calls;
    // Answers to the next calls, first to last; then Success.
    std::deque<std::intptr_t> Results;

    std::uintptr_t DesktopWindow() override { return Desktop; }
    std::intptr_t Execute(const ShellCall& call) override;
};

// Lets GoogleTest print calls in failure messages.
void PrintTo(const ShellCall& call, std::ostream* out);
