#pragma once
#include <string>

#include "undo_log.h"
#include "uninstaller_setup.h"

// Makes the Start menu folder "Kestrel 3" (all users' Programs, else the
// user's own) with shortcuts to the program, to its uninstaller and to the
// online user guide, logging each shortcut file and then the folder. The
// targets need not exist yet. COM must be initialised, apartment-threaded, on
// the calling thread. True when the folder, the three shortcut files and the
// four events were all made; on a failure what was made before it stays.
// `undo` learns of the folder before it is made, and of each shortcut file
// before it is saved; an earlier shortcut file is kept aside for it.
bool createStartMenuShortcuts(const std::string& programPath, const std::string& uninstallerPath,
                              const std::string& documentationAddress, const std::string& iconFile,
                              Escort::UninstallerSetup& uninstallLog, Escort::UndoLog& undo);
