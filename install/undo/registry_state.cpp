#include "registry_state.h"

#include "text_format.h"
#include "undo_actions.h"

namespace {

// An open key, closed on every way out; with `create`, made when missing.
class OpenKey {
 public:
  OpenKey(const std::string& subkey, REGSAM access, bool create = false) {
    const LONG status = create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, access,
                                                 nullptr, &key_, nullptr)
                               : RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<SavedRegistryValue> valuesOf(HKEY key) {
  DWORD count = 0, longestName = 0, longestData = 0;
  std::vector<SavedRegistryValue> values;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return values;
  for (DWORD index = 0; index < count; ++index) {
    std::string name(longestName + 1, '\0'), data(longestData, '\0');
    DWORD nameLength = longestName + 1, dataLength = longestData, type = REG_NONE;
    if (RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &dataLength) != ERROR_SUCCESS)
      continue;
    values.push_back({name.substr(0, nameLength), type, data.substr(0, dataLength)});
  }
  return values;
}

bool hasValue(const std::vector<SavedRegistryValue>& values, const std::string& name) {
  for (const SavedRegistryValue& value : values) {
    if (equalsIgnoringCase(value.name, name)) return true;
  }
  return false;
}

}  // namespace

RegistryKeyState captureKeyState(const std::string& subkey) {
  RegistryKeyState state{subkey, "", {}};
  OpenKey key(subkey, KEY_QUERY_VALUE);
  if (key.get()) {
    state.values = valuesOf(key.get());
    return state;
  }
  // The shallowest missing level: the parent of the deepest level that exists.
  state.firstMissing = subkey;
  for (std::string parent = parentDirectory(subkey); !parent.empty(); parent = parentDirectory(parent)) {
    if (OpenKey(parent, KEY_QUERY_VALUE).get()) break;
    state.firstMissing = parent;
  }
  return state;
}

DWORD restoreKeyState(const RegistryKeyState& state) {
  if (!state.firstMissing.empty()) return deleteKeyTree(HKEY_LOCAL_MACHINE, state.firstMissing);
  OpenKey key(state.subkey, KEY_QUERY_VALUE | KEY_SET_VALUE, true);
  if (!key.get()) return ERROR_ACCESS_DENIED;
  DWORD error = ERROR_SUCCESS;
  for (const SavedRegistryValue& now : valuesOf(key.get())) {
    if (!hasValue(state.values, now.name)) {
      if (LONG status = RegDeleteValueA(key.get(), now.name.c_str())) error = static_cast<DWORD>(status);
    }
  }
  for (const SavedRegistryValue& value : state.values) {
    if (LONG status = RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                                     reinterpret_cast<const BYTE*>(value.data.data()),
                                     static_cast<DWORD>(value.data.size())))
      error = static_cast<DWORD>(status);
  }
  return error;
}
