#pragma once
// Where an uninstall log (UninstallerSetup) comes from: the registry's, uninstaller_setup_impl.h.
#include <vector>

#include "registry_key_state.h"
#include "uninstall_log_interface.h"

namespace Escort {

// Starts an empty uninstall log for the registration `productName`; the three
// strings are copied. `standing`, when given, is how the registration's values
// stand (read once by the run's journal, which keeps any other run out until
// the commit): copied, and not read again at the commit. Null when the log
// cannot be allocated.
UninstallerSetup* createUninstallerSetup(const char* productName, const char* description,
                                         const char* uninstallerPath,
                                         const std::vector<SavedRegistryValue>* standing = nullptr);

}  // namespace Escort
