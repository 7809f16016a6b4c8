#pragma once
// Loading DLLs from the system folder by their full path, so that no DLL
// beside the programs or in their working folder stands in for one
// (dll_search.h restricts the loads by name).
#include <windows.h>

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
