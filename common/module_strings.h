#pragma once
// The running program's module handle and its string table, which both
// programs and the setup program's pages read their texts from.
#include <windows.h>

#include <string>

// The module handle WinMain received. Start-up writes it before anything else
// runs and before any other thread exists; afterwards it is only read.
extern HINSTANCE moduleInstance;

// The whole text of string-table entry `id` of moduleInstance, however long;
// an id the table does not hold, or an empty entry, gives "".
std::string loadString(UINT id);
