#include "machine_registry_text.h"

#include <windows.h>

#include "registry_key.h"

bool readMachineText(const char* subkey, const char* valueName, std::string& text) {
  RegistryKey key;
  return key.open(subkey, KEY_READ) && key.readText(valueName, MAX_PATH, text);
}
