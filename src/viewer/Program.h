#pragma once
// The program's start, up to the running message loop: the application
// titled, the user's date and time settings read (and read again whenever the
// system announces a change), the main window created.
class TTallyglassViewer;

TTallyglassViewer* StartProgram();
