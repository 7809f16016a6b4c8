#include "registry_state.h"

#include "registry_key.h"
#include "text_format.h"
#include "undo_actions.h"

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

namespace {

bool hasValue(const std::vector<SavedRegistryValue>& values, const std::string& name) {
  for (const SavedRegistryValue& value : values) {
    if (equalsIgnoringCase(value.name, name)) return true;
  }
  return false;
}

}  // namespace

RegistryKeyState captureKeyState(const std::string& subkey) {
  RegistryKeyState state{subkey, "", {}};
  RegistryKey key;
  if (key.open(subkey, KEY_QUERY_VALUE)) {
    state.values = valuesOf(key.handle());
    return state;
  }
  // The shallowest missing level: the parent of the deepest level that exists.
  state.firstMissing = subkey;
  for (std::string parent = parentDirectory(subkey); !parent.empty(); parent = parentDirectory(parent)) {
    if (RegistryKey().open(parent, KEY_QUERY_VALUE)) break;
    state.firstMissing = parent;
  }
  return state;
}

DWORD restoreKeyState(const RegistryKeyState& state) {
  if (!state.firstMissing.empty()) return deleteKeyTree(HKEY_LOCAL_MACHINE, state.firstMissing);
  RegistryKey key;
  if (!key.create(state.subkey, KEY_QUERY_VALUE | KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  DWORD error = ERROR_SUCCESS;
  for (const SavedRegistryValue& now : valuesOf(key.handle())) {
    if (!hasValue(state.values, now.name)) {
      if (LONG status = RegDeleteValueA(key.handle(), now.name.c_str())) error = static_cast<DWORD>(status);
    }
  }
  for (const SavedRegistryValue& value : state.values) {
    if (LONG status = RegSetValueExA(key.handle(), value.name.c_str(), 0, value.type,
                                     reinterpret_cast<const BYTE*>(value.data.data()),
                                     static_cast<DWORD>(value.data.size())))
      error = static_cast<DWORD>(status);
  }
  return error;
}
