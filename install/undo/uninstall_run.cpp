#include "uninstall_run.h"

#include <windows.h>

#include "change_flush.h"
#include "file_placement.h"
#include "install_journal.h"
#include "journal_store.h"
#include "product_names.h"
#include "registry_key.h"
#include "undo_actions.h"
#include "uninstall_event_rules.h"

namespace {

// What the run removed (or found gone) is kept in `removed`, from which the
// folders that became empty are told.
Failure carryOut(const Escort::UninstallEvent& event, std::vector<std::string>& removed, std::vector<std::string>& kept,
                 UninstallObserver& observer) {
  switch (eventKind(event.command)) {
    case EventKind::DeleteFile: {
      DWORD error = deleteFileEvent(event.parameter);
      while (Escort::isHeldError(error) && observer.fileInUse(event.parameter)) error = deleteFileEvent(event.parameter);
      if (!error) removed.push_back(event.parameter);
      return {event.parameter, error, FailureSite::UninstallDelete, "DeleteFileA"};
    }
    case EventKind::DeleteEmptyDirs:
      return {event.parameter, deleteEmptyDirsEvent(event.parameter, removed, kept), FailureSite::UninstallFolder,
              "RemoveDirectoryA"};
    case EventKind::DeleteRegTree:
      return {event.parameter, deleteRegTreeEvent(machineSoftwareSubkey(event.parameter)), FailureSite::UninstallKey,
              "RegDeleteKeyA"};
    case EventKind::Unknown:
      break;
  }
  return {event.parameter, ERROR_INVALID_FUNCTION};  // not reached: unknown commands are refused
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
    const Failure failure = carryOut(event, removed, summary.kept, observer);
    if (failure.systemError) summary.failed.push_back(failure);
  }
  if (summary.complete()) {
    // What was removed is gone for good before the registration that names
    // it goes: a power cut must not bring back files that nothing removes.
    const std::string key = registrationKey(productName);
    if (!flushChangesTo(removed))
      summary.failed.push_back({"", GetLastError(), FailureSite::UninstallFlush, "FlushFileBuffers"});
    else if (DWORD error = deleteKeyTree(key))
      summary.failed.push_back({machineKeyName(key), error, FailureSite::UninstallRegistration, "RegDeleteKeyA"});
  }
  observer.progress(total, total, std::string());
  return summary;
}

bool uninstallRecorded(const std::string& productName, const Registration& registration, UninstallObserver& observer,
                       const std::function<std::string()>& whenIncomplete, UninstallSummary& summary) {
  if (!recordUninstallation(productName)) return false;
  summary = runUninstall(productName, registration, observer);
  if (!summary.complete()) flushChangesTo({}, {whenIncomplete()});
  removeJournal();
  return true;
}
