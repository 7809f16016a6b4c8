#include "uninstall_run.h"

#include <windows.h>

#include <algorithm>

#include "change_flush.h"
#include "file_placement.h"
#include "install_journal.h"
#include "journal_store.h"
#include "link_guard.h"
#include "product_names.h"
#include "registry_key.h"
#include "text_format.h"
#include "undo_actions.h"
#include "uninstall_event_rules.h"

namespace {

struct UninstallState {
  UninstallObserver& observer;
  PendingDeletions pending;
  LinkGuard guard;
  const std::string& waitingProgram;
  const std::string& asideFolder;
  UninstallSummary summary;
  // What the run removed (or found gone), from which the folders that became empty are told.
  std::vector<std::string> removed;
};

DWORD deleteFile(const std::string& path, UninstallState& run) {
  DWORD error = deleteFileEvent(path);
  if (error && equalsIgnoringCase(path, run.waitingProgram) && Escort::isInUse(path, error)) {
    std::string besideIt;
    error = putAsideUntilRestart(path, run.asideFolder, besideIt);
    if (!error && !besideIt.empty()) {
      run.summary.atRestart.push_back(path);
      run.pending.goesAtRestart(besideIt);
    }
    return error;
  }
  while (Escort::isInUse(path, error) && run.observer.fileInUse(path)) error = deleteFileEvent(path);
  if (!error) run.pending.deleted(path);
  return error;
}

// Whether a link stands on the way to `path`: it is then noted, once, and
// nothing is done through it.
bool linkInTheWay(const std::string& path, UninstallState& run) {
  const std::string link = run.guard.linkOnTheWay(path);
  if (link.empty()) return false;
  std::vector<std::string>& links = run.summary.links;
  if (std::none_of(links.begin(), links.end(), [&link](const std::string& noted) { return equalsIgnoringCase(noted, link); }))
    links.push_back(link);
  return true;
}

Failure carryOut(const Escort::UninstallEvent& event, UninstallState& run) {
  const std::string& path = event.parameter;
  switch (eventKind(event.command)) {
    case EventKind::DeleteFile: {
      if (linkInTheWay(path, run)) return {path, ERROR_SUCCESS};
      const DWORD error = deleteFile(path, run);
      if (!error) run.removed.push_back(path);
      return {path, error, FailureSite::UninstallDelete, "DeleteFileA"};
    }
    case EventKind::DeleteEmptyDirs:
      // The run's own hold on the folders would be in the way of their removal.
      run.guard.release();
      if (linkInTheWay(path, run)) return {path, ERROR_SUCCESS};
      return {path, deleteEmptyDirsEvent(path, run.removed, run.summary.kept, run.pending), FailureSite::UninstallFolder,
              "RemoveDirectoryA"};
    case EventKind::DeleteRegTree:
      return {path, deleteRegTreeEvent(machineSoftwareSubkey(path)), FailureSite::UninstallKey, "RegDeleteKeyA"};
    case EventKind::Unknown:
      break;
  }
  return {path, ERROR_INVALID_FUNCTION};  // not reached: unknown commands are refused
}

}  // namespace

UninstallSummary runUninstall(const std::string& productName, const Registration& registration,
                              UninstallObserver& observer, const std::string& waitingProgram,
                              const std::string& asideFolder) {
  UninstallState run{observer, PendingDeletions(observer), LinkGuard(registration.destinations), waitingProgram,
                     asideFolder, {}, {}};
  const size_t total = registration.events.size();
  for (size_t n = 0; n < total; ++n) {
    const Escort::UninstallEvent& event = registration.events[n];
    observer.progress(n, total, event.description);
    if (!isAllowedEvent(event.command, event.parameter)) {
      run.summary.refused.push_back(event.command + " " + event.parameter);
      continue;
    }
    const Failure failure = carryOut(event, run);
    if (failure.systemError) run.summary.failed.push_back(failure);
  }
  run.guard.release();
  const std::vector<std::string> pending = run.pending.remaining();
  run.summary.atRestart.insert(run.summary.atRestart.end(), pending.begin(), pending.end());
  if (run.summary.complete()) {
    // What was removed is gone for good before the registration that names
    // it goes: a power cut must not bring back files that nothing removes.
    const std::string key = registrationKey(productName);
    if (!flushChangesTo(run.removed))
      run.summary.failed.push_back({"", GetLastError(), FailureSite::UninstallFlush, "FlushFileBuffers"});
    else if (DWORD error = deleteKeyTree(key))
      run.summary.failed.push_back({machineKeyName(key), error, FailureSite::UninstallRegistration, "RegDeleteKeyA"});
  }
  observer.progress(total, total, std::string());
  return run.summary;
}

bool uninstallRecorded(const std::string& productName, const Registration& registration, UninstallObserver& observer,
                       const std::string& waitingProgram, const std::string& asideFolder,
                       const std::function<std::string()>& whenIncomplete, UninstallSummary& summary) {
  if (!recordUninstallation(productName)) return false;
  summary = runUninstall(productName, registration, observer, waitingProgram, asideFolder);
  if (!summary.complete()) flushChangesTo({}, {whenIncomplete()});
  removeJournal();
  return true;
}
