#pragma once
// How a run of the setup program ended, as its exit code tells whatever
// started it (a script, a software distribution tool).
enum SetupExitCode {
  kExitInstalled = 0,      // installed: the finished page's Finish
  kExitNoFrame = 1,        // the frame dialog could not be created
  kExitNothingToShow = 2,  // a page could not be created, so nothing was shown
  kExitCancelled = 3,      // the user cancelled before the installation began
  kExitFailed = 4,         // the installation failed, and everything it did was taken back
  kExitRefused = 5,        // refused before anything was changed: no room, or an interrupted
                           // run's record that cannot be read
  kExitNotTakenBack = 6,   // a failed or interrupted installation could not all be put back
                           // yet; running the setup program again finishes that
  kExitAlreadyRunning = 7, // another setup program or uninstaller runs; nothing was changed
  kExitNotAdministrator = 8,  // the user has no administrator rights; nothing was changed
  kExitNoWorkingCopy = 9,  // where Windows cannot keep the program's folder out of the DLL search:
                           // the working copy could not be made or started; nothing was changed
};
