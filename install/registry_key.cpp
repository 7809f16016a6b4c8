#include "registry_key.h"

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

bool RegistryKey::create(const std::string& subkey, REGSAM access) {
  char noClass[] = "";  // RegCreateKeyExA takes the class as a writable string
  return RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                         access, nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::setString(const std::string& name, const std::string& value) const {
  return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::setDword(const std::string& name, DWORD value) const {
  return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}
