#pragma once
// A copy of the running program in a folder that only SYSTEM and the
// Administrators may change: the uninstaller runs from one so that it can
// remove its own folder, and the setup program on Windows that cannot keep
// the folder it was downloaded to out of the DLL search.
//
// The folder is new for each copy, <Windows folder>\Temp\ksu-<128 random bits
// in hexadecimal>: below the system's own Windows folder, not the user's
// %TEMP%, which the user's unelevated programs can change (and whose name may
// not even be written in the ANSI code page, when the user's name is not).
#include <windows.h>

#include <functional>
#include <string>

// The full path of this program.
std::string ownProgramPath();

// The copy's command line, given its path.
using WorkingCopyCommandLine = std::function<std::string(const std::string& copyPath)>;

// Copies this program as `fileName` into a new such folder, starts it there
// (its working folder too, so that nothing holds the folder it came from),
// lets it take the foreground and this run's place (single_run.h), and waits
// for it to end: its exit code is then `exitCode`, for whatever started this
// program to see. The copy and its folder are marked for deletion at the next
// restart, and deleted at once when the copy has ended where Windows lets
// them go. ERROR_SUCCESS once the copy has run; otherwise the Windows error,
// and no copy is left behind.
DWORD runWorkingCopy(const char* fileName, const WorkingCopyCommandLine& commandLine, DWORD& exitCode);
