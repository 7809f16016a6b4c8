#pragma once
// What an installation must leave behind, worked out from the payload tree
// and the route the user took, independently of the program's own code: for
// the Windows tests of the installation worker and for the UI driver's
// scenarios alike.
#include <string>
#include <vector>

#include "uninstall_event.h"

// The registry value through which a simulator is found.
extern const char kFs2002Key[];
extern const char kFs2004Key[];
extern const char kSimulatorFolderValue[];
// The program's own settings and its uninstall registration, below HKEY_LOCAL_MACHINE.
extern const char kSettingsKey[];
extern const char kRegistrationKey[];
// The online user guide that the shortcut and the finished page open.
extern const char kUserGuideAddress[];

struct Route {
  std::string programDir;  // ends with a backslash
  bool programFiles = false;
  // As the simulators' "EXE Path" holds them; empty: not installed into.
  std::string fs2002Dir;
  std::string fs2004Dir;
  // The folders above the program directory that the installation makes,
  // each with a backslash, the deepest first.
  std::vector<std::string> foldersMadeAbove = {};
};

struct ExpectedFile {
  std::string source;     // in the payload tree
  std::string installed;  // where the program puts it
};

struct ExpectedInstallation {
  std::vector<ExpectedFile> files;
  std::vector<UninstallEvent> events;  // in the order the uninstaller is to undo them
};

// The Start menu folder "Kestrel 3" among all users' programs, with a backslash.
std::string startMenuFolder();

// What the installation worker writes along `route` and logs for removal.
ExpectedInstallation expectedWorkerRun(const std::string& payloadTree, const Route& route);
// Everything the installation leaves: the worker's run, and first in the
// registration the settings and the shortcuts that the progress page logs.
ExpectedInstallation expectedInstallation(const std::string& payloadTree, const Route& route);
