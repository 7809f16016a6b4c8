#pragma once
#include <string>

#include "failure.h"
#include "uninstall_log_interface.h"

// Records `programDir` (as given, with its trailing backslash) and the data
// version in the program's key (kProgramSettingsKey), then logs the removal
// of the whole key with `eventDescription`. The event is logged whatever
// happened before it. The run's journal holds how the key stood before. True
// when both values were written and the event was logged; on a failure,
// `failure` names the key and the registry's error.
bool writeRegistrySettings(const std::string& programDir, const std::string& eventDescription,
                           Escort::UninstallerSetup& uninstallLog, Failure& failure);
