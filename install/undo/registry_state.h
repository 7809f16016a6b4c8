#pragma once
// Reading how a key of HKEY_LOCAL_MACHINE stands before an installation
// changes it, and putting it back so. Plain HKEY_LOCAL_MACHINE access: the registry view
// of the program's own build, the one it writes into.
#include <windows.h>

#include <string>

#include "registry_key_state.h"

RegistryKeyState captureKeyState(const std::string& subkey);

// The key as captured: its values as they were (a value it has gained since
// is deleted; its subkeys are left alone), or, when it did not exist, every
// level that did not exist deleted with everything below it.
DWORD restoreKeyState(const RegistryKeyState& state);
