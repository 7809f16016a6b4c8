#include "registry_key.h"

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

void RegistryKey::adopt(HKEY key) {
  if (key_) RegCloseKey(key_);
  key_ = key;
}

bool RegistryKey::create(const std::string& subkey, REGSAM access) {
  char noClass[] = "";  // RegCreateKeyExA takes the class as a writable string
  return RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                         access, nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::open(const std::string& subkey, REGSAM access) {
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, &key_) == ERROR_SUCCESS) return true;
  key_ = nullptr;
  return false;
}

bool RegistryKey::setString(const std::string& name, const std::string& value) const {
  return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::setDword(const std::string& name, DWORD value) const {
  return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

bool RegistryKey::readString(const std::string& name, std::string& value) const {
  DWORD type = REG_NONE, size = 0;
  std::string data;
  LONG status = ERROR_MORE_DATA;
  // The value may grow between the two calls; ask again until it fits.
  while (status == ERROR_MORE_DATA) {
    data.resize(size);
    status = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &size);
    if (status == ERROR_SUCCESS && size > data.size()) status = ERROR_MORE_DATA;
  }
  if (status != ERROR_SUCCESS || type != REG_SZ) return false;
  data.resize(size);
  if (!data.empty() && data.back() == '\0') data.pop_back();
  if (data.find('\0') != std::string::npos) return false;
  value = data;
  return true;
}

bool RegistryKey::readDword(const std::string& name, DWORD& value) const {
  DWORD type = REG_NONE, size = sizeof value;
  return RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value;
}
