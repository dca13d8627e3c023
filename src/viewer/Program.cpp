#include "viewer/Program.h"

#include "about/URLLabel.h"
#include "pictures/DibSectionImage.h"
#include "pictures/PictureFormats.h"
#include "support/DateTime.h"
#include "support/StaleLogFile.h"
#include "ui/Application.h"
#include "viewer/frmMain.h"

ProgramLibraries::ProgramLibraries()
{
    DeleteStaleLogFile();
    RegisterURLLabelCursor();
    RegisterPictureFormats();
    UsePngDibSections();
}

ProgramLibraries::~ProgramLibraries()
{
    UnregisterPictureFormats();
    DestroyURLLabelCursor();
}

TTallyglassViewer* StartProgram()
{
    LoadFormatSettingsFromLocale();
    Application.Initialize();
    Application.OnSettingsChange = LoadFormatSettingsFromLocale;
    Application.Title = "Tallyglass Viewer";
    return Application.CreateForm<TTallyglassViewer>();
}
