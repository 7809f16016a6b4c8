// The setup program's entry point. It reads no show command, and of the
// command line only whether it is its own working copy (setup_working_copy.h):
// the wizard always starts the same way.
#include <windows.h>

#include "run_setup.h"
#include "dll_search.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return startSetup(instance, restrictDllSearchToSystemFolder());
}
