#pragma once
#include <string>
#include <vector>

#include "failure.h"
#include "install_texts.h"
#include "journal_interface.h"
#include "uninstall_log_interface.h"

// The Start menu folder the shortcuts go into (all users' Programs, else the
// user's own, then texts.startMenuFolder), with a backslash at its end; empty
// when neither Programs folder can be had.
std::string startMenuFolder(const InstallTexts& texts);

// The three shortcut files in `folder` (startMenuFolder), in the order they
// are saved.
std::vector<std::string> shortcutFiles(const std::string& folder, const InstallTexts& texts);

// Makes the Start menu folder `folder` with shortcuts to the program, to its
// uninstaller and to the online user guide, logging each shortcut file and
// then the folder. The targets need not exist yet. COM must be initialised,
// apartment-threaded, on the calling thread. True when the folder, the three
// shortcut files and the four events were all made; on a failure what was
// made before it stays. `undo` learns of the folder before it is made, and of
// each shortcut file before it is saved; an earlier shortcut file is kept
// aside for it. On a failure, `failure` names what failed (nothing when it
// was no file or folder) and Windows' error, or the shell's.
bool createStartMenuShortcuts(const std::string& folder, const std::string& programPath,
                              const std::string& uninstallerPath, const std::string& documentationAddress,
                              const std::string& iconFile, const InstallTexts& texts,
                              Escort::UninstallerSetup& uninstallLog, Escort::UndoLog& undo, Failure& failure);
