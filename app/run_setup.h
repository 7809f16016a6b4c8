#pragma once
#include <windows.h>

#include "setup_exit_codes.h"

// The whole setup program on the module `instance`: makes sure that no other
// setup program or uninstaller runs, settles what an earlier run that was
// ended from outside left, builds and shows the wizard with its
// seven pages and runs the message loop until the wizard closes. Returns the
// process exit code (setup_exit_codes.h). A start-up that cannot show the
// wizard ends at once: without a window nobody could ever end the program.
int runSetup(HINSTANCE instance);

// The setup program as WinMain starts it, once it has restricted the DLL
// search (`searchRestricted`: to the system folder alone, dll_search.h). Where
// the search could not be restricted so, it runs from its working copy
// instead and ends with the copy's exit code (setup_working_copy.h). Then it
// refuses a user without administrator rights, having changed nothing, and
// runs runSetup on `instance`.
int startSetup(HINSTANCE instance, bool searchRestricted);
