#include "RecordingShell.h"

std::intptr_t RecordingShell::Execute(const ShellCall& call)
{
    Calls.push_back(call);
    if (Results.empty())
        return Success;
    const std::intptr_t result = Results.front();
    Results.pop_front();
    return result;
}

void PrintTo(const ShellCall& call, std::ostream* out)
{
    *out << "{owner " << call.Owner << ", verb \"" << call.Verb << "\", file \"" << call.File
         << "\", parameters \"" << call.Parameters << "\", directory \"" << call.Directory << "\", show "
         << call.ShowCommand << "}";
}
