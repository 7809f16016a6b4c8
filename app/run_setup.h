#pragma once
#include <windows.h>

// Exit codes of a start-up that could not show the wizard. Without a window
// nobody could ever end the program, so it ends at once instead.
const int kExitNoFrame = 1;        // the frame dialog could not be created
const int kExitNothingToShow = 2;  // a page could not be created, so nothing was shown

// The whole setup program on the module `instance`: builds and shows the
// wizard with its seven pages and runs the message loop until the wizard
// closes. Returns the process exit code, 0 after a normal end.
int runSetup(HINSTANCE instance);
