#pragma once
// The first step of both programs. They run elevated, often from a downloads
// folder: a DLL that anyone put beside them, or into the working folder, must
// never be loaded into them (DLL planting).

// Call first thing in WinMain: every later load of a DLL by its name, the
// shell's and COM's own included, searches the system folder only, and the
// result is true. Where Windows lacks that restriction (XP; Vista and 7 without
// KB2533623, MSDN SetDefaultDllDirectories) the result is false: the working
// folder leaves the search, and the DLLs that the wizard's controls, the shell
// and COM load by name are loaded now, from the system folder, so that later
// loads find them loaded; but the program's own folder stays first in the
// search for any other.
bool restrictDllSearchToSystemFolder();
