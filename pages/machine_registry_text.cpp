#include "machine_registry_text.h"

#include <windows.h>

#include <algorithm>

bool readMachineText(const char* subkey, const char* valueName, std::string& text) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char buffer[MAX_PATH];
  DWORD size = sizeof buffer;
  const bool read = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                                     &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read) return false;
  // A value stored without its terminating zero ends where the data ends.
  text.assign(buffer, std::find(buffer, buffer + size, '\0'));
  return true;
}
