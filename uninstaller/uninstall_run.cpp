#include "uninstall_run.h"

#include <windows.h>

#include <set>

#include "destination_directory.h"
#include "text_format.h"
#include "undo_actions.h"
#include "uninstall_event_rules.h"

namespace {

struct RunState {
  // What the run removed (or found gone), from which the folders that became
  // empty are told.
  std::vector<std::string> removed;
  // Folders cleared of what an interrupted installation kept aside in them
  // (the earlier content of files it replaced, the file it was writing):
  // each folder the installation wrote a file to, the first time a file of
  // it is deleted, so that nothing of it stays for good.
  std::set<std::string> cleared;
};

DWORD carryOut(const Escort::UninstallEvent& event, RunState& state, std::vector<std::string>& kept) {
  switch (eventKind(event.command)) {
    case EventKind::DeleteFile: {
      const DWORD error = deleteFileEvent(event.parameter);
      if (error) return error;
      state.removed.push_back(event.parameter);
      const std::string folder = parentDirectory(event.parameter);
      if (state.cleared.insert(asciiLowerCase(folder)).second) Escort::deleteTemporaryFiles(folder);
      return ERROR_SUCCESS;
    }
    case EventKind::DeleteEmptyDirs:
      return deleteEmptyDirsEvent(event.parameter, state.removed, kept);
    case EventKind::DeleteRegTree:
      return deleteRegTreeEvent(machineSoftwareSubkey(event.parameter));
    case EventKind::Unknown:
      break;
  }
  return ERROR_INVALID_FUNCTION;  // not reached: unknown commands are refused
}

}  // namespace

UninstallSummary runUninstall(const std::string& productName, const Registration& registration,
                              UninstallObserver& observer) {
  UninstallSummary summary;
  RunState state;
  const size_t total = registration.events.size();
  for (size_t n = 0; n < total; ++n) {
    const Escort::UninstallEvent& event = registration.events[n];
    observer.progress(n, total, event.description);
    if (!isAllowedEvent(event.command, event.parameter)) {
      summary.refused.push_back(event.command + " " + event.parameter);
      continue;
    }
    if (DWORD error = carryOut(event, state, summary.kept)) summary.failed.push_back({event.parameter, error});
  }
  if (summary.complete()) {
    const std::string key = registrationKey(productName);
    if (DWORD error = deleteKeyTree(HKEY_LOCAL_MACHINE, key))
      summary.failed.push_back({"HKEY_LOCAL_MACHINE\\" + key, error});
  }
  observer.progress(total, total, std::string());
  return summary;
}
