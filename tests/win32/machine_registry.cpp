#include "machine_registry.h"

#include <shlwapi.h>

namespace {

// A key of HKEY_LOCAL_MACHINE, closed when the helper is done with it.
class MachineKey {
 public:
  MachineKey(const std::string& subkey, bool create) {
    char noClass[] = "";
    const LONG status =
        create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_, nullptr)
               : RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_ALL_ACCESS, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  MachineKey(const MachineKey&) = delete;
  MachineKey& operator=(const MachineKey&) = delete;
  ~MachineKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void setMachineValue(const std::string& subkey, const std::string& name, DWORD type,
                     const std::string& bytes) {
  MachineKey key(subkey, true);
  RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}

void setMachineText(const std::string& subkey, const std::string& name, const std::string& text) {
  setMachineValue(subkey, name, REG_SZ, text + '\0');
}

void createMachineKey(const std::string& subkey) { MachineKey key(subkey, true); }

void deleteMachineValue(const std::string& subkey, const std::string& name) {
  MachineKey key(subkey, false);
  RegDeleteValueA(key.get(), name.c_str());
}

bool machineKeyExists(const std::string& subkey) { return MachineKey(subkey, false).get() != nullptr; }

bool machineValueExists(const std::string& subkey, const std::string& name) {
  MachineKey key(subkey, false);
  return key.get() &&
         RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> machineMultiString(const std::string& subkey, const std::string& name) {
  std::vector<std::string> strings;
  MachineKey key(subkey, false);
  DWORD size = 0;
  if (!key.get() ||
      RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return strings;
  std::string data(size, '\0');
  RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size);
  data.resize(size);
  // Each string ends with a zero; the list ends with one more.
  for (size_t start = 0; start < data.size();) {
    const size_t end = data.find('\0', start);
    if (end == std::string::npos || (end == start && end + 1 == data.size())) break;
    strings.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

void removeMachineKey(const std::string& subkey) { SHDeleteKeyA(HKEY_LOCAL_MACHINE, subkey.c_str()); }
