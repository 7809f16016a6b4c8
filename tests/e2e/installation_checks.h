#pragma once
// Reading back what an installation left, independently of the program's own
// code: the files byte for byte against the payload tree, the registry values
// through the registry view of this build, the shortcuts through the shell's
// link object. Each check fails the scenario on the first difference.
#include <ostream>
#include <string>
#include <vector>

#include "expected_installation.h"

// Every expected file is there with exactly the payload's bytes.
void checkInstalledFiles(const ExpectedInstallation& expected);
// `folder` holds the expected files below it and nothing else but the
// entries in `alsoThere` ("modules\\" for a directory).
void checkFolderHolds(const std::string& folder, const ExpectedInstallation& expected,
                      const std::vector<std::string>& alsoThere);
// "KSDir" and "DataVersion", or no settings key at all without program files.
void checkProgramSettings(const Route& route);
// The uninstall registration: name, uninstaller command and every event in order.
void checkUninstallRegistration(const Route& route, const ExpectedInstallation& expected);
void checkNoUninstallRegistration();
// The registration's values for Windows' list of programs, for the
// installation it removes as a whole: the version of the program where it
// is installed in `programDir`, else of the uninstaller; the size of every
// file that `expected` logs for deletion.
void checkRegistrationDetails(const std::string& programDir, const ExpectedInstallation& expected);
// The three shortcuts, or no Start menu folder at all without program files.
void checkShortcuts(const Route& route);
// Everything an installation along `route` must have left behind: the files
// and nothing else in the program directory and the seeded simulators'
// folders, the settings, the shortcuts and the registration.
void checkInstallation(const Route& route, const ExpectedInstallation& expected);

// What the installation left, read from disk and registry for the reader of
// the walk: the files in the program directory and the simulator folders, the
// registry values, the shortcuts and the registration.
void printInstallation(std::ostream& out, const Route& route);
