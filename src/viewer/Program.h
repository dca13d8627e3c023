#pragma once
// The program's start, up to the running message loop: the application
// titled, the user's date and time settings read (and read again whenever the
// system announces a change), the main window created.
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

TTallyglassViewer* StartProgram();
