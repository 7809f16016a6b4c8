#pragma once
#include <windows.h>

#include "setup_exit_codes.h"

// The whole setup program on the module `instance`: settles what an earlier
// run that was ended from outside left, builds and shows the wizard with its
// seven pages and runs the message loop until the wizard closes. Returns the
// process exit code (setup_exit_codes.h). A start-up that cannot show the
// wizard ends at once: without a window nobody could ever end the program.
int runSetup(HINSTANCE instance);
