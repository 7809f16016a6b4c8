#pragma once
// The helpers every part of the setup program shares: the module handle, the
// string table, and (from text_format.h) path and number text.
#include <windows.h>

#include <string>

#include "text_format.h"

// The module handle WinMain received. Start-up writes it before anything else
// runs and before any other thread exists; afterwards it is only read.
extern HINSTANCE moduleInstance;

// The whole text of string-table entry `id` of moduleInstance, however long;
// an id the table does not hold, or an empty entry, gives "".
std::string loadString(UINT id);
