// The setup program's entry point. It reads no command line and no show
// command: the wizard always starts the same way.
#include <windows.h>

#include "run_setup.h"
#include "dll_search.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictDllSearchToSystemFolder();
  return runSetup(instance);
}
