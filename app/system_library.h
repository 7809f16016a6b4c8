#pragma once
// Loading DLLs only from the system folder. Both programs run elevated, often
// from a downloads folder: a DLL that anyone put beside them, or into the
// working folder, must never be loaded into them (DLL planting).
#include <windows.h>

// Call first thing in WinMain: every later load of a DLL by its name, the
// shell's and COM's own included, searches the system folder only. Where
// Windows lacks that restriction (XP, and Vista and 7 without the update that
// brought it) the working folder leaves the search, and the DLLs that the
// wizard's controls, the shell and COM load by name are loaded now, from the
// system folder, so that later loads find them loaded.
void restrictDllSearchToSystemFolder();

// The DLL `name` ("version.dll") from the system folder, by its full path;
// null when it cannot be loaded. It stays loaded for the life of the process.
HMODULE loadSystemLibrary(const char* name);

// Function `name` of the system DLL `library`, typed as `Function`; null when
// either is missing.
template <typename Function>
Function systemFunction(const char* library, const char* name) {
  HMODULE module = loadSystemLibrary(library);
  // Through void*: a FARPROC does not convert to another function type directly.
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}
