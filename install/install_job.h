#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "install_messages.h"
#include "install_texts.h"
#include "uninstall_log_interface.h"

namespace Escort {
class UndoLog;
}

// What the installation worker is to do. The installation run fills it
// before it starts the worker and takes it back at WM_INSTALL_DONE; in
// between only the worker touches it.
struct InstallJob {
  HINSTANCE instanceHandle = nullptr;  // module whose resources hold the payload
  HWND progressWindow = nullptr;       // receives every message of the worker
  // At most one progress report in this many milliseconds (install_messages.h).
  DWORD reportInterval = kProgressReportInterval;
  Escort::UninstallerSetup* uninstallLog = nullptr;
  // Records every folder and file the run creates or replaces before it does,
  // so that the run can be taken back. Null: nothing is kept to take back.
  Escort::UndoLog* journal = nullptr;
  InstallTexts texts;
  bool installFs2002 = false;
  bool installFs2004 = false;
  std::string fs2002Dir;  // as the registry gave it; set only with installFs2002
  std::string fs2004Dir;  // likewise with installFs2004
  bool installProgramFiles = false;  // program files, and the main module into each simulator
  std::string programDir;            // ends with a backslash
  // The folders above the program directory that the run makes, the deepest
  // first, each with its backslash: logged for removal after the program files.
  std::vector<std::string> programDirParents;
};
