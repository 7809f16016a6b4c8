#pragma once
// The uninstaller as a user meets it: started from the list of installed
// software (the registration's "UninstallString") or from its Start menu
// shortcut, it asks, hands over to its working copy in the temporary folder,
// and that copy reports at the end.
#include <string>

#include "scenario_run.h"
#include "uninstaller_exit_codes.h"

extern const char kUninstallerCaption[];
extern const char kUninstallerErrorCaption[];
extern const char kUninstallReportCaption[];
// The question for Kestrel 3, and the report of a complete removal.
extern const char kUninstallQuestion[];
extern const char kUninstalledReport[];
extern const char kNothingToUninstall[];

// "UninstallString" of the registration, as Windows would run it.
std::string uninstallCommandLine();
// The uninstall shortcut's target and arguments, as the shell would run them.
std::string uninstallShortcutCommandLine();

// Starts `commandLine` (in `workingDirectory`, "": the driver's own), answers
// the question with Yes, takes over the working copy, closes its final report
// and returns the report's text once the copy has ended with `copyExitCode`.
std::string uninstallWithYes(ScenarioRun& run, const std::string& commandLine,
                             const std::string& workingDirectory = "", int copyExitCode = kUninstallDone);
// Starts `commandLine` and answers the question with No; the program ends.
void declineUninstall(ScenarioRun& run, const std::string& commandLine);
// Wine's stand-in for a restart: carries out the deletions that the working
// copy left pending for its own file and folder.
void restartWindows();
