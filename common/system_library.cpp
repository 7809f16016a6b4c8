#include "system_library.h"

#include <string>

HMODULE loadSystemLibrary(const char* name) {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(directory) + '\\' + name;
  // With the altered search path its own dependencies are looked for beside
  // it, in the system folder, rather than beside the program.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
