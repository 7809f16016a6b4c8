#pragma once
// How the uninstaller removes the directory it runs from.
//
// Windows does not delete the file of a running program, nor a directory that
// still holds it. So once the user has agreed, the program copies itself into
// a new folder of the Windows folder's Temp (working_copy.h), starts the copy
// (working directory: that new folder, so nothing holds the program
// directory) and ends at once. The copy waits for the original's process to
// end, marks itself and its folder for deletion at the next restart, first,
// so that it goes even when it is ended part-way, and carries out every
// event, the original's own file and directory among them. This way the
// program directory is gone when the run ends, and only the small copy waits
// for the restart. Marking the program's own files for the restart instead
// would leave the program directory in place until then, with an uninstaller
// in it that no longer has a registration.
#include <windows.h>

#include <cstdint>
#include <string>

#include "working_copy.h"

// Copies this program into its working copy's folder and starts the copy
// for `productName`, handing it an inheritable handle to this process.
// ERROR_SUCCESS once the copy runs; otherwise the Windows error, and nothing
// of the copy is left behind.
DWORD startCopyInTemp(const std::string& productName);

// In the copy: waits until the original process has ended (a minute at most:
// should it hang, its file simply fails to go and is reported), then closes
// the inherited handle.
void waitForOriginal(uint64_t originalProcess);

// In the copy, after a run that left something behind and so kept the
// registration: puts this program back at `uninstallerPath` (where the
// registration names it, its folders included) if the run removed it, so
// that the user can start the uninstaller again from the same place. Nothing
// happens for a path that no installation of ours would use.
void restoreUninstaller(const std::string& uninstallerPath);

// In the copy: marks this program's file and then its folder for deletion
// at the next restart. False when Windows refuses (it needs the right to write
// HKEY_LOCAL_MACHINE, which the uninstallation needs anyway).
bool scheduleCopyRemoval();
