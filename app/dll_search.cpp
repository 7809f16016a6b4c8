#include "dll_search.h"

#include <windows.h>

#include "system_library.h"

// A test build names a function that no kernel32 exports, to run the way of
// the Windows versions that lack it.
#ifndef KESTREL_SEARCH_RESTRICTION
#define KESTREL_SEARCH_RESTRICTION "SetDefaultDllDirectories"
#endif

namespace {

// Loaded by name, at run time, by the common controls, the shell's folder
// browser and shortcuts, COM and the themes; none of them is a known DLL that
// Windows always takes from the system folder. Missing ones (older Windows)
// are passed over. Each comes before those that import it (the themes before
// the controls): a DLL's imports are then found loaded, however the loader
// looks for them (Wine 8.0 looks beside the program even for a DLL loaded
// with the altered search path).
const char* const kLoadedByName[] = {
    "uxtheme.dll", "comctl32.dll", "version.dll",  "dwmapi.dll",  "propsys.dll", "apphelp.dll",
    "cryptbase.dll", "userenv.dll", "profapi.dll",  "ntmarta.dll", "oleacc.dll",  "linkinfo.dll",
    "ntshrui.dll",  "cscapi.dll",  "srvcli.dll",   "shcore.dll",  "windowscodecs.dll", "sspicli.dll",
    "secur32.dll",  "mpr.dll",     "netapi32.dll", "shfolder.dll", "msimg32.dll", "setupapi.dll",
    "actxprxy.dll"};

}  // namespace

bool restrictDllSearchToSystemFolder() {
  // Looked up, not imported, so that the program still starts where they are missing.
  const auto setDefaultDllDirectories =
      systemFunction<BOOL(WINAPI*)(DWORD)>("kernel32.dll", KESTREL_SEARCH_RESTRICTION);
  if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  const auto setDllDirectory = systemFunction<BOOL(WINAPI*)(const char*)>("kernel32.dll", "SetDllDirectoryA");
  if (setDllDirectory) setDllDirectory("");  // the working folder leaves the search
  for (const char* name : kLoadedByName) loadSystemLibrary(name);
  return false;
}
