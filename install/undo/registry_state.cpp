#include "registry_state.h"

#include <map>

#include "registry_key.h"
#include "text_format.h"

namespace {

// The values by name, as the registry compares names.
std::map<std::string, const SavedRegistryValue*> byName(const std::vector<SavedRegistryValue>& values) {
  std::map<std::string, const SavedRegistryValue*> named;
  for (const SavedRegistryValue& value : values) named[asciiLowerCase(value.name)] = &value;
  return named;
}

}  // namespace

RegistryKeyState captureKeyState(const std::string& subkey) {
  RegistryKeyState state{subkey, "", {}};
  RegistryKey key;
  if (key.open(subkey, KEY_QUERY_VALUE)) {
    state.values = key.values();
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
  if (!state.firstMissing.empty()) return deleteKeyTree(state.firstMissing);
  RegistryKey key;
  if (!key.create(state.subkey, KEY_QUERY_VALUE | KEY_SET_VALUE)) return GetLastError();
  DWORD error = ERROR_SUCCESS;
  const std::vector<SavedRegistryValue> present = key.values();
  const auto wanted = byName(state.values);
  const auto now = byName(present);
  for (const SavedRegistryValue& value : present) {
    if (!wanted.count(asciiLowerCase(value.name)) && !key.deleteValue(value.name)) error = GetLastError();
  }
  // Only what differs is written back: a key that never changed is not touched.
  for (const SavedRegistryValue& value : state.values) {
    const auto found = now.find(asciiLowerCase(value.name));
    const bool same = found != now.end() && found->second->type == value.type && found->second->data == value.data;
    if (!same && !key.set(value)) error = GetLastError();
  }
  return error;
}
