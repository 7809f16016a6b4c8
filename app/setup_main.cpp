// The setup program's entry point. The wizard is started from here once it
// exists; until then the program prepares what every later step relies on.
#include <windows.h>
#include <commctrl.h>

#include "string_helpers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  moduleInstance = instance;
  // The progress page's dialog uses the progress bar class.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  return 0;
}
