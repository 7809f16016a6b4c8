#include "progress_bar_class.h"

#include <windows.h>
#include <commctrl.h>

#include "system_library.h"

bool registerProgressBarClass() {
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initCommonControlsEx =
      systemFunction<InitCommonControlsExFunction>("comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  return initCommonControlsEx && initCommonControlsEx(&controls);
}
