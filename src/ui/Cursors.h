#pragma once
// The application's cursor table: cursor numbers to cursor handles. The
// standard numbers map to the system cursors; units may register their own.
#include <windows.h>

#include "ui/Control.h"

// The cursor registered under the number; the standard arrow for a number
// without one, or whose cursor could not be loaded (a null handle), so that
// the pointer never vanishes.
HCURSOR CursorHandle(TCursor cursor);
void RegisterCursor(TCursor cursor, HCURSOR handle);
// Takes the number out of the table and returns the handle registered under
// it (null when there was none), for its owner to destroy.
HCURSOR UnregisterCursor(TCursor cursor);
