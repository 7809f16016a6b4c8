#pragma once
// Loads the strict-Windows layer into a program before the program's own
// first instruction: started suspended, the program gets a thread of the
// layer's that loads it (as the first thread to run, it also sets the process
// up, as Windows and Wine both let any first thread do), and only then is its
// main thread let go. The programs and the layer are of one architecture.
#include <windows.h>

#include <string>

// Loads `layer` (a full path) into the suspended `process`; 0, or the Windows
// error of the step that failed. A program into which the layer did not load
// has to be ended by the caller.
DWORD loadLayerInto(HANDLE process, const std::string& layer);

// CreateProcessA, with `layer` loaded into the program before it runs; the
// program is held still when `flags` ask for CREATE_SUSPENDED. 0, or the
// Windows error: a program that could not take the layer is ended.
DWORD startWithLayer(const std::string& layer, LPCSTR application, LPSTR commandLine,
                     LPSECURITY_ATTRIBUTES processSecurity, LPSECURITY_ATTRIBUTES threadSecurity, BOOL inheritHandles,
                     DWORD flags, LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                     LPPROCESS_INFORMATION started);
