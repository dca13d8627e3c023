#include "support/ComApartment.h"

#include <objbase.h>

// OLE1 DDE is off, as the shell's documentation asks of ShellExecute callers.
ComApartment::ComApartment()
    : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
{
}

ComApartment::~ComApartment()
{
    if (initialized_)
        CoUninitialize();
}
