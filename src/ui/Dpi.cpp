#include "ui/Dpi.h"

#include <windows.h>

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return pixelsPerInch > 0 ? pixelsPerInch : kDesignPixelsPerInch;
}
