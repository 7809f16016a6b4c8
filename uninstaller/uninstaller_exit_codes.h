#pragma once
// How a run of the uninstaller ended, as its exit code tells whatever started
// it. The program that was started ends as soon as its working copy runs
// (self_removal.h), with 0: the outcome of the uninstallation is the copy's
// exit code.
enum UninstallerExitCode {
  kUninstallDone = 0,           // removed, or handed over to the working copy
  kUninstallDeclined = 3,       // the user answered No
  kUninstallIncomplete = 4,     // not everything could be removed; the registration stays
  kUninstallRefused = 5,        // not told what to remove, nothing registered, a damaged registration,
                                // or an interrupted installation's record that cannot be read
  kUninstallNotTakenBack = 6,   // an interrupted installation could not all be put back
  kUninstallNoWorkingCopy = 7,  // the working copy could not be started
  kUninstallAlreadyRunning = 8, // another setup program or uninstaller runs; nothing was changed
  kUninstallNotAdministrator = 9,  // the user has no administrator rights; nothing was changed
};
