#include "registry_key.h"

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

namespace {

// The registry's functions return their error: kept as the thread's last
// error too, so that a caller can tell the user why, as after a file call.
bool succeeded(LONG status) {
  if (status == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(status));
  return false;
}

}  // namespace

bool RegistryKey::create(const std::string& subkey, REGSAM access) {
  char noClass[] = "";  // RegCreateKeyExA takes the class as a writable string
  if (succeeded(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access,
                                nullptr, &key_, nullptr)))
    return true;
  key_ = nullptr;
  return false;
}

bool RegistryKey::createNew(const std::string& subkey, REGSAM access) {
  DWORD disposition = 0;
  char noClass[] = "";
  if (!succeeded(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access,
                                 nullptr, &key_, &disposition))) {
    key_ = nullptr;
    return false;
  }
  if (disposition == REG_CREATED_NEW_KEY) return true;
  RegCloseKey(key_);
  key_ = nullptr;
  SetLastError(ERROR_ALREADY_EXISTS);
  return false;
}

bool RegistryKey::open(const std::string& subkey, REGSAM access) {
  if (succeeded(RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, &key_))) return true;
  key_ = nullptr;
  return false;
}

bool RegistryKey::setString(const std::string& name, const std::string& value) const {
  return succeeded(RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)));
}

bool RegistryKey::setDword(const std::string& name, DWORD value) const {
  return succeeded(RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof value));
}

bool RegistryKey::set(const SavedRegistryValue& value) const {
  return succeeded(RegSetValueExA(key_, value.name.c_str(), 0, value.type,
                                  reinterpret_cast<const BYTE*>(value.data.data()),
                                  static_cast<DWORD>(value.data.size())));
}

bool RegistryKey::setBinary(const std::string& name, const std::string& bytes) const {
  return succeeded(RegSetValueExA(key_, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                                  static_cast<DWORD>(bytes.size())));
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
