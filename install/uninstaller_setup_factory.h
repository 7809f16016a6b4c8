#pragma once
// Where an uninstall log (UninstallerSetup) comes from: the registry's, uninstaller_setup_impl.h.
#include "uninstall_log_interface.h"

namespace Escort {

// Starts an empty uninstall log for the registration `productName`; the three
// strings are copied. Null when the log cannot be allocated.
UninstallerSetup* createUninstallerSetup(const char* productName, const char* description,
                                         const char* uninstallerPath);

}  // namespace Escort
