#pragma once
#include "uninstaller_setup.h"

namespace Escort {

// The name this product registers under, which its uninstaller is also
// started with.
inline constexpr char kProductName[] = "Kestrel 3";
// The uninstaller's file in the program directory, which the registration names.
inline constexpr char kUninstallerFile[] = "ksuninstall.exe";

// Starts an empty uninstall log for the registration `productName`; the three
// strings are copied. Null when the log cannot be allocated.
UninstallerSetup* createUninstallerSetup(const char* productName, const char* description,
                                         const char* uninstallerPath);

}  // namespace Escort
