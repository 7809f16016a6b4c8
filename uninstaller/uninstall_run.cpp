#include "uninstall_run.h"

#include <windows.h>

#include "undo_actions.h"
#include "uninstall_event_rules.h"

namespace {

// What the run removed (or found gone) is kept in `removed`, from which the
// folders that became empty are told.
DWORD carryOut(const Escort::UninstallEvent& event, std::vector<std::string>& removed, std::vector<std::string>& kept) {
  switch (eventKind(event.command)) {
    case EventKind::DeleteFile: {
      const DWORD error = deleteFileEvent(event.parameter);
      if (!error) removed.push_back(event.parameter);
      return error;
    }
    case EventKind::DeleteEmptyDirs:
      return deleteEmptyDirsEvent(event.parameter, removed, kept);
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
  std::vector<std::string> removed;
  const size_t total = registration.events.size();
  for (size_t n = 0; n < total; ++n) {
    const Escort::UninstallEvent& event = registration.events[n];
    observer.progress(n, total, event.description);
    if (!isAllowedEvent(event.command, event.parameter)) {
      summary.refused.push_back(event.command + " " + event.parameter);
      continue;
    }
    if (DWORD error = carryOut(event, removed, summary.kept)) summary.failed.push_back({event.parameter, error});
  }
  if (summary.complete()) {
    const std::string key = registrationKey(productName);
    if (DWORD error = deleteKeyTree(HKEY_LOCAL_MACHINE, key))
      summary.failed.push_back({"HKEY_LOCAL_MACHINE\\" + key, error});
  }
  observer.progress(total, total, std::string());
  return summary;
}
