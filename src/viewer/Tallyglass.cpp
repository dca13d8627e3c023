// The program's entry: start-up, the message loop until the main window
// closes, then every window freed.
#include <windows.h>

#include "ui/Application.h"
#include "viewer/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const ProgramLibraries libraries;
    try {
        StartProgram(FileOfCommandLine());
        Application.Run();
    } catch (const std::exception& error) {
        Application.HandleException(error);
    }
    Application.DestroyForms();
    return 0;
}
