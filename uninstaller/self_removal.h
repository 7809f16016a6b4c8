#pragma once
// How the uninstaller removes the directory it runs from.
//
// Windows XP..11 do not delete the file of a running program, which is mapped
// (DeleteFile fails on a memory-mapped file, MSDN), nor a directory that
// still holds it. So once the user has agreed, the program copies itself into
// a new folder of the Windows folder's Temp (working_copy.h), starts the copy
// (working directory: that new folder, so nothing holds the program
// directory) and waits for it, so that whatever started the uninstaller
// (Windows' list of programs, a script) sees the uninstall done when it ends.
// The copy carries out every event. The original's own file, which Windows
// lets be renamed but not deleted while the original waits, the copy moves
// into its own folder, which goes at the next restart with it: the program
// directory is gone when the run ends, and only the small copy waits for the
// restart.
#include <windows.h>

#include <string>

// Runs the working copy for `productName` to its end; its exit code is
// then `exitCode`. ERROR_SUCCESS once the copy has run; otherwise the Windows
// error, and nothing of the copy is left behind.
DWORD runCopyInTemp(const std::string& productName, DWORD& exitCode);

// In the copy, after a run that left something behind and so kept the
// registration: puts this program back at `uninstallerPath` (where the
// registration names it, its folders included) if the run removed it, so
// that the user can start the uninstaller again from the same place. Nothing
// happens for a path that no installation of ours would use.
void restoreUninstaller(const std::string& uninstallerPath);

// In the copy: the folder it runs from, which goes at the next restart.
std::string copyFolder();
