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

#include <cstdint>
#include <functional>
#include <string>

// The full path of this program.
std::string ownProgramPath();

struct WorkingCopy {
  std::string program;     // the copy's full path
  HANDLE process = nullptr;  // its process, for the caller to close
};

// The copy's command line, given its path and the value of the inheritable
// handle to this process that it receives.
using WorkingCopyCommandLine = std::function<std::string(const std::string& copyPath, uint64_t originalProcess)>;

// Copies this program as `fileName` into a new such folder and starts it
// there (its working folder too, so that nothing holds the folder it came
// from). ERROR_SUCCESS once it runs; otherwise the Windows error, and
// nothing of the copy is left behind.
DWORD startWorkingCopy(const char* fileName, const WorkingCopyCommandLine& commandLine, WorkingCopy& copy);

// Marks the copy `program` and then its folder for deletion at the next
// restart (the pending operations run in the order given). False when
// Windows refuses: it needs the right to write HKEY_LOCAL_MACHINE.
bool scheduleWorkingCopyRemoval(const std::string& program);
