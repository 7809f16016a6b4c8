#pragma once
// The setup program on Windows without SetDefaultDllDirectories (XP; Vista and
// 7 without KB2533623, MSDN): there the folder a program was started from stays
// first in the search of every DLL loaded by name later on (MSDN, Dynamic-Link
// Library Search Order; the folder browser, COM and the shell load many), and a
// downloads folder is anyone's to write to. So the program runs from a working
// copy in a folder that only SYSTEM and the Administrators may change
// (working_copy.h), beside which there is nothing to load.
#include <windows.h>

#include <string>

// Whether `commandLine` is that of the working copy, as runFromWorkingCopy
// starts it.
bool isSetupWorkingCopy(const std::string& commandLine);

// Starts the working copy, lets it take the foreground, and waits for it to
// end; its exit code is then this program's, in `exitCode`. The copy and its
// folder are marked for deletion at the next restart, and deleted at once
// when the copy has ended where Windows lets them go. ERROR_SUCCESS once the
// copy has run; otherwise the Windows error, and no copy is left behind.
DWORD runFromWorkingCopy(DWORD& exitCode);
