#include "viewer/Program.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "about/URLLabel.h"
#include "base/TextEncoding.h"
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

std::optional<std::string> FileOfCommandLine()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                                  LocalFree);
    if (!arguments || count < 2)
        return std::nullopt;
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(arguments.get()[1]));
}

TTallyglassViewer* StartProgram(std::optional<std::string> startFile)
{
    LoadFormatSettingsFromLocale();
    Application.Initialize();
    Application.OnSettingsChange = LoadFormatSettingsFromLocale;
    Application.Title = "Tallyglass Viewer";
    return Application.CreateForm<TTallyglassViewer>(std::move(startFile));
}
