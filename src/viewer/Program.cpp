#include "viewer/Program.h"

#include "support/DateTime.h"
#include "ui/Application.h"
#include "viewer/frmMain.h"

TTallyglassViewer* StartProgram()
{
    LoadFormatSettingsFromLocale();
    Application.Initialize();
    Application.OnSettingsChange = LoadFormatSettingsFromLocale;
    Application.Title = "Tallyglass Viewer";
    return Application.CreateForm<TTallyglassViewer>();
}
