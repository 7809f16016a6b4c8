#pragma once
// How a key of HKEY_LOCAL_MACHINE stood before an installation changed it,
// and putting it back so. Plain HKEY_LOCAL_MACHINE access: the registry view
// of the program's own build, the one it writes into.
#include <windows.h>

#include <string>
#include <vector>

struct SavedRegistryValue {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;
};

struct RegistryKeyState {
  std::string subkey;
  // The shallowest level of `subkey` that did not exist ("" when the key did).
  std::string firstMissing;
  std::vector<SavedRegistryValue> values;  // the key's own values, when it existed
};

RegistryKeyState captureKeyState(const std::string& subkey);

// The key as captured: its values as they were (a value it has gained since
// is deleted; its subkeys are left alone), or, when it did not exist, every
// level that did not exist deleted with everything below it.
DWORD restoreKeyState(const RegistryKeyState& state);
