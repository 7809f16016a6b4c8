#pragma once
#include <string>

#include "uninstaller_setup.h"

class InstallJournal;

// The program's own key under HKEY_LOCAL_MACHINE and the value that records
// where the program files went; the program-directory page offers it again.
inline constexpr char kProgramSettingsKey[] = "Software\\Ninefold\\Kestrel\\3";
inline constexpr char kProgramDirValue[] = "KSDir";

// Records `programDir` (as given, with its trailing backslash) and the data
// version in the program's key, then logs the removal of the whole key. The
// event is logged whatever happened before it. True when both values were
// written and the event was logged. `journal` records first how the key
// stood; nothing is written when it cannot.
bool writeRegistrySettings(const std::string& programDir, Escort::UninstallerSetup& uninstallLog,
                           InstallJournal& journal);
