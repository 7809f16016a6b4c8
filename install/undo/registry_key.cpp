#include "registry_key.h"

#include <algorithm>

#include "durable_changes.h"
#include "text_format.h"

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
  DWORD disposition = 0;
  subkey_ = subkey;
  return succeeded(durable::createKey(subkey, access, key_, disposition));
}

bool RegistryKey::createNew(const std::string& subkey, REGSAM access) {
  DWORD disposition = 0;
  subkey_ = subkey;
  if (!succeeded(durable::createKey(subkey, access, key_, disposition))) return false;
  if (disposition == REG_CREATED_NEW_KEY) return true;
  RegCloseKey(key_);
  key_ = nullptr;
  SetLastError(ERROR_ALREADY_EXISTS);
  return false;
}

bool RegistryKey::open(const std::string& subkey, REGSAM access) {
  subkey_ = subkey;
  if (succeeded(RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, &key_))) return true;
  key_ = nullptr;
  return false;
}

bool RegistryKey::setString(const std::string& name, const std::string& value) const {
  return succeeded(durable::setValue(key_, subkey_, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1)));
}

bool RegistryKey::setDword(const std::string& name, DWORD value) const {
  return succeeded(durable::setValue(key_, subkey_, name, REG_DWORD, &value, sizeof value));
}

bool RegistryKey::set(const SavedRegistryValue& value) const {
  return succeeded(durable::setValue(key_, subkey_, value.name, value.type, value.data.data(),
                                     static_cast<DWORD>(value.data.size())));
}

bool RegistryKey::setBinary(const std::string& name, const std::string& bytes) const {
  return succeeded(durable::setValue(key_, subkey_, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())));
}

bool RegistryKey::deleteValue(const std::string& name) const {
  return succeeded(durable::deleteValue(key_, subkey_, name));
}

bool RegistryKey::flush() const { return succeeded(durable::flushKey(key_)); }

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

bool RegistryKey::readText(const std::string& name, DWORD limit, std::string& value) const {
  std::string data(limit, '\0');
  DWORD size = limit;
  if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]),
                       &size) != ERROR_SUCCESS)
    return false;
  data.resize(size);
  value.assign(data.begin(), std::find(data.begin(), data.end(), '\0'));
  return true;
}

bool RegistryKey::readDword(const std::string& name, DWORD& value) const {
  DWORD type = REG_NONE, size = sizeof value;
  return RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value;
}

std::vector<SavedRegistryValue> RegistryKey::values() const {
  DWORD count = 0, longestName = 0, longestData = 0;
  std::vector<SavedRegistryValue> values;
  if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return values;
  for (DWORD index = 0; index < count; ++index) {
    std::string name(longestName + 1, '\0'), data(longestData, '\0');
    DWORD nameLength = longestName + 1, dataLength = longestData, type = REG_NONE;
    if (RegEnumValueA(key_, index, &name[0], &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &dataLength) != ERROR_SUCCESS)
      continue;
    values.push_back({name.substr(0, nameLength), type, data.substr(0, dataLength)});
  }
  return values;
}

DWORD deleteKeyTree(const std::string& subkey) {
  // Names first, deletions afterwards, with the key closed: enumerating
  // while deleting skips keys.
  std::vector<std::string> children;
  {
    RegistryKey key;
    if (!key.open(subkey, KEY_ENUMERATE_SUB_KEYS)) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    char name[256];  // the longest key name is 255 characters
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key.handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      children.emplace_back(name, length);
    }
  }
  for (const std::string& child : children) {
    if (DWORD error = deleteKeyTree(subkey + "\\" + child)) return error;
  }
  const LONG status = durable::deleteKey(subkey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(status);
}

bool isEmptyKey(const std::string& subkey) {
  RegistryKey key;
  if (!key.open(subkey, KEY_QUERY_VALUE)) return false;
  DWORD subkeys = 1, values = 1;
  const bool queried = RegQueryInfoKeyA(key.handle(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                        nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  return queried && subkeys == 0 && values == 0;
}

void deleteEmptyParentKeys(const std::string& subkey, const std::string& highest) {
  for (std::string level = parentDirectory(subkey); level.size() >= highest.size() && !level.empty();
       level = parentDirectory(level)) {
    // A level gone already (an earlier run, cut off, removed it) is passed over.
    if (!RegistryKey().open(level, KEY_QUERY_VALUE) && GetLastError() == ERROR_FILE_NOT_FOUND) continue;
    if (!isEmptyKey(level) || deleteKeyTree(level) != ERROR_SUCCESS) break;
  }
}
