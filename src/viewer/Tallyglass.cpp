// The program: library start-up, the application object, the main window
// and the message loop.
#include <windows.h>

#include "support/DateTime.h"
#include "ui/Application.h"
#include "viewer/frmMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        LoadFormatSettingsFromLocale();
        Application.Initialize();
        Application.OnSettingsChange = LoadFormatSettingsFromLocale;
        Application.Title = "Tallyglass Viewer";
        Application.CreateForm<TTallyglassViewer>();
        Application.Run();
    } catch (const std::exception& error) {
        Application.HandleException(error);
    }
    Application.DestroyForms();
    return 0;
}
