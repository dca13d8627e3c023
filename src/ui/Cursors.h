#pragma once
// The application's cursor table: cursor numbers to cursor handles. The
// standard numbers map to the system cursors; units may register their own.
#include <windows.h>

#include "ui/Control.h"

HCURSOR CursorHandle(TCursor cursor);
void RegisterCursor(TCursor cursor, HCURSOR handle);
