#pragma once
// How a key of HKEY_LOCAL_MACHINE stood before an installation changed it. No
// Windows headers: the installation journal stores it, and its format is
// tested on the host.
#include <cstdint>
#include <string>
#include <vector>

struct SavedRegistryValue {
  std::string name;
  uint32_t type = 0;  // REG_NONE
  std::string data;
};

struct RegistryKeyState {
  std::string subkey;
  // The shallowest level of `subkey` that did not exist ("" when the key did).
  std::string firstMissing;
  std::vector<SavedRegistryValue> values;  // the key's own values, when it existed
};
