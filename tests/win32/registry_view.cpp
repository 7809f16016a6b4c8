#include "registry_view.h"

#include <algorithm>
#include <cstring>

namespace {

// A key of the tested view, closed when done with.
class ViewKey {
 public:
  ViewKey(const std::string& subkey, REGSAM access) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access | testedRegistryView(), &key_) !=
        ERROR_SUCCESS)
      key_ = nullptr;
  }
  ViewKey(const ViewKey&) = delete;
  ViewKey& operator=(const ViewKey&) = delete;
  ~ViewKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<std::string> subkeyNames(HKEY key) {
  std::vector<std::string> names;
  char name[256];  // the longest key name the registry allows, and its zero
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::map<std::string, RegistryValue> valuesOf(HKEY key) {
  std::map<std::string, RegistryValue> values;
  DWORD longestName = 0, largestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                       &largestData, nullptr, nullptr) != ERROR_SUCCESS)
    return values;
  std::string name(longestName + 1, '\0');
  std::string data(largestData, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    if (RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                      &dataSize) != ERROR_SUCCESS)
      break;
    values[name.substr(0, nameLength)] = {type, data.substr(0, dataSize)};
  }
  return values;
}

// Each subkey is opened below its parent's handle: opening thousands of keys
// by their full paths costs seconds under Wine.
void collectTree(HKEY key, const std::string& path, MachineTree& tree) {
  tree[path] = valuesOf(key);
  for (const std::string& child : subkeyNames(key)) {
    HKEY childKey = nullptr;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ | testedRegistryView(), &childKey) != ERROR_SUCCESS) continue;
    collectTree(childKey, path + "\\" + child, tree);
    RegCloseKey(childKey);
  }
}

// RegDeleteTreeA is not declared for the Windows XP headers this build uses,
// so the subkeys go one by one, deepest first.
void deleteTree(HKEY parent, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_ALL_ACCESS | testedRegistryView(), &key) !=
      ERROR_SUCCESS)
    return;
  for (const std::string& child : subkeyNames(key)) deleteTree(key, child);
  RegCloseKey(key);
  RegDeleteKeyExA(parent, subkey.c_str(), testedRegistryView(), 0);
}

}  // namespace

REGSAM testedRegistryView() { return sizeof(void*) == 4 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::ostream& operator<<(std::ostream& out, const RegistryValue& value) {
  out << "type " << value.type << ", " << value.data.size() << " bytes \"";
  for (char c : value.data) out << (c == '\0' ? std::string("\\0") : std::string(1, c));
  return out << '"';
}

RegistryValue registryText(const std::string& text) { return {REG_SZ, text + '\0'}; }

RegistryValue registryDword(DWORD number) {
  std::string bytes(sizeof number, '\0');
  std::memcpy(&bytes[0], &number, sizeof number);
  return {REG_DWORD, bytes};
}

bool machineKeyExists(const std::string& subkey) { return ViewKey(subkey, KEY_READ).get() != nullptr; }

bool seedMachineValue(const std::string& subkey, const std::string& name, const RegistryValue& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE | testedRegistryView(), nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG set = RegSetValueExA(key, name.c_str(), 0, value.type,
                                  reinterpret_cast<const BYTE*>(value.data.data()),
                                  static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  return set == ERROR_SUCCESS;
}

std::optional<RegistryValue> readMachineValue(const std::string& subkey, const std::string& name) {
  ViewKey key(subkey, KEY_READ);
  DWORD size = 0;
  if (!key.get() ||
      RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  // The size asked for beforehand may be generous for text read through the
  // "A" functions; the second call reports the bytes actually returned.
  RegistryValue value;
  value.data.resize(size);
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type,
                       reinterpret_cast<BYTE*>(&value.data[0]), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  return value;
}

MachineTree machineTree(const std::string& subkey) {
  MachineTree tree;
  ViewKey key(subkey, KEY_READ);
  if (key.get()) collectTree(key.get(), subkey, tree);
  return tree;
}

std::vector<std::string> machineValueNames(const std::string& subkey) {
  std::vector<std::string> names;
  ViewKey key(subkey, KEY_READ);
  if (key.get())
    for (const auto& entry : valuesOf(key.get())) names.push_back(entry.first);
  return names;
}

std::vector<std::string> machineSubkeyNames(const std::string& subkey) {
  ViewKey key(subkey, KEY_READ);
  return key.get() ? subkeyNames(key.get()) : std::vector<std::string>{};
}

bool deleteMachineValue(const std::string& subkey, const std::string& name) {
  ViewKey key(subkey, KEY_SET_VALUE | KEY_QUERY_VALUE);
  if (key.get()) RegDeleteValueA(key.get(), name.c_str());
  return !readMachineValue(subkey, name);
}

bool deleteMachineTree(const std::string& subkey) {
  deleteTree(HKEY_LOCAL_MACHINE, subkey);
  return !machineKeyExists(subkey);
}
