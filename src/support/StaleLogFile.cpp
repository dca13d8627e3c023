#include "support/StaleLogFile.h"

#include <windows.h>

#include "support/ExeVersion.h"

namespace {

// Switches the system's critical-error dialogs off for its lifetime.
class CriticalErrorsSilenced {
public:
    CriticalErrorsSilenced() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsSilenced() { SetErrorMode(previous_); }
    CriticalErrorsSilenced(const CriticalErrorsSilenced&) = delete;
    CriticalErrorsSilenced& operator=(const CriticalErrorsSilenced&) = delete;

private:
    UINT previous_;
};

// Anything of that name: file, directory, hidden or system entry alike.
bool EntryExists(const std::string& path)
{
    const CriticalErrorsSilenced silenced;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

}  // namespace

void DeleteStaleLogFile()
{
    const std::string exe = ExePath();
    const std::string path = exe.substr(0, exe.find_last_of("\\/:") + 1) + "log.txt";
    if (EntryExists(path))
        DeleteFileA(path.c_str());
}
