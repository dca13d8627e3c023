#pragma once
// The program's start, up to the running message loop: the application
// titled, the user's date and time settings read (and read again whenever the
// system announces a change), the main window created, listing the file named
// on the command line if there is one.
#include <optional>
#include <string>

#include "support/ComApartment.h"

class TTallyglassViewer;

// The libraries' start-up, before any window exists, and their shut-down
// after the last window has gone: COM initialised for the shell (first in,
// last out), the stale log removed, the link cursor registered, the picture
// formats listed and PNG images decoded straight into DIB sections.
class ProgramLibraries {
public:
    ProgramLibraries();
    ~ProgramLibraries();
    ProgramLibraries(const ProgramLibraries&) = delete;
    ProgramLibraries& operator=(const ProgramLibraries&) = delete;

private:
    ComApartment com_;
};

// The file named on the command line, in UTF-8: the first argument after the
// program's own name; none when there is none.
std::optional<std::string> FileOfCommandLine();

// With a file, the main window lists it from the start.
TTallyglassViewer* StartProgram(std::optional<std::string> startFile = std::nullopt);
