#include "system_library.h"

#include <string>

namespace {

// Loaded by name, at run time, by the common controls, the shell's folder
// browser and shortcuts, COM and the themes; none of them is a known DLL that
// Windows always takes from the system folder. Missing ones (older Windows)
// are passed over.
const char* const kLoadedByName[] = {
    "comctl32.dll", "version.dll", "uxtheme.dll",  "dwmapi.dll",  "propsys.dll", "apphelp.dll",
    "cryptbase.dll", "userenv.dll", "profapi.dll",  "ntmarta.dll", "oleacc.dll",  "linkinfo.dll",
    "ntshrui.dll",  "cscapi.dll",  "srvcli.dll",   "shcore.dll",  "windowscodecs.dll", "sspicli.dll",
    "secur32.dll",  "mpr.dll",     "netapi32.dll", "shfolder.dll", "msimg32.dll", "setupapi.dll",
    "actxprxy.dll"};

}  // namespace

HMODULE loadSystemLibrary(const char* name) {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(directory) + '\\' + name;
  // With the altered search path its own dependencies are looked for beside
  // it, in the system folder, rather than beside the program.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void restrictDllSearchToSystemFolder() {
  // Looked up, not imported, so that the program still starts where they are missing.
  const auto setDefaultDllDirectories =
      systemFunction<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  const auto setDllDirectory = systemFunction<BOOL(WINAPI*)(const char*)>("kernel32.dll", "SetDllDirectoryA");
  if (setDllDirectory) setDllDirectory("");  // the working folder leaves the search
  for (const char* name : kLoadedByName) loadSystemLibrary(name);
}
