#include "journal_settlement.h"

#include <windows.h>

#include <set>

#include "change_flush.h"
#include "durable_changes.h"
#include "file_placement.h"
#include "journal_store.h"
#include "link_guard.h"
#include "pending_deletions.h"
#include "product_names.h"
#include "registration_reader.h"
#include "registry_state.h"
#include "temporary_file_sweep.h"
#include "text_format.h"
#include "undo_actions.h"
#include "uninstall_run.h"

namespace {

// Tries while nothing is being deleted, and the pause between them.
constexpr int kPassesWithoutPending = 3;
constexpr DWORD kPauseBetweenPassesMs = 500;

// Every file and folder that `records` name, for the flush that makes a
// settlement of them outlast a power cut.
std::vector<std::string> pathsOf(const std::vector<JournalRecord>& records) {
  std::vector<std::string> paths;
  for (const JournalRecord& record : records) {
    if (!record.path.empty() && record.kind != JournalRecordKind::UninstallBegun &&
        record.kind != JournalRecordKind::Destination)
      paths.push_back(record.path);
    if (!record.keptCopy.empty()) paths.push_back(record.keptCopy);
  }
  return paths;
}

// The folders the user chose for the run.
std::vector<std::string> destinationsOf(const std::vector<JournalRecord>& records) {
  std::vector<std::string> folders;
  for (const JournalRecord& record : records)
    if (record.kind == JournalRecordKind::Destination) folders.push_back(record.path);
  return folders;
}

// One pass over the run, the latest change first, and the folders it made
// last, when all it put in them is gone (a folder is made when its first
// file needs it); what failed, in that order. A folder that holds only files
// being deleted is left for a later pass, in `waitingFolders`.
std::vector<Failure> takeBack(const std::vector<JournalRecord>& records, PendingDeletions& pending,
                              std::vector<std::string>& waitingFolders) {
  std::vector<Failure> failed;
  waitingFolders.clear();
  LinkGuard guard(destinationsOf(records));
  std::set<std::string> cleared;  // folders rid of the files the run was writing
  const auto check = [&failed](const std::string& item, DWORD error, FailureSite site, const char* call) {
    if (error != ERROR_SUCCESS) failed.push_back({item, error, site, call});
  };
  // Nothing is done through a link on the way to `path`; its folder is rid
  // of the files the run was writing.
  const auto mayChange = [&](const std::string& path) {
    const std::string link = guard.linkOnTheWay(path);
    if (!link.empty()) {
      check(link, ERROR_CANT_ACCESS_FILE, FailureSite::TakeBackLink, "GetFileInformationByHandle");
      return false;
    }
    const std::string folder = parentDirectory(path);
    if (cleared.insert(asciiLowerCase(folder)).second) Escort::deleteTemporaryFiles(folder);
    return true;
  };
  for (size_t at = records.size(); at-- > 0;) {
    const JournalRecord& record = records[at];
    switch (record.kind) {
      case JournalRecordKind::FileCreated: {
        // Deleted by an earlier pass, its name kept while a scanner holds it.
        if (pending.isBeingDeleted(record.path) || !mayChange(record.path)) break;
        const DWORD error = deleteFileEvent(record.path);
        if (!error) pending.deleted(record.path);
        check(record.path, error, FailureSite::TakeBackDelete, "DeleteFileA");
        break;
      }
      case JournalRecordKind::FileReplaced:
        if (mayChange(record.path))
          check(record.path, restoreKeptCopy(record.keptCopy, record.path), FailureSite::TakeBackRestore,
                "MoveFileExA");
        break;
      case JournalRecordKind::KeyChanged:
        check(machineKeyName(record.key.subkey), restoreKeyState(record.key), FailureSite::TakeBackKey,
              "RegSetValueExA");
        break;
      default:
        break;
    }
  }
  // The run's own hold on the folders would be in the way of their removal.
  guard.release();
  // Made the shallowest first, so removed the deepest first.
  for (size_t at = records.size(); at-- > 0;) {
    if (records[at].kind != JournalRecordKind::DirectoryCreated) continue;
    const std::string& folder = records[at].path;
    const std::string link = guard.linkOnTheWay(folder);
    guard.release();
    if (!link.empty()) {
      check(link, ERROR_CANT_ACCESS_FILE, FailureSite::TakeBackLink, "GetFileInformationByHandle");
      continue;
    }
    const DWORD error = removeFolderIfEmpty(folder);
    if (error == ERROR_DIR_NOT_EMPTY && pending.holdsOnlyPending(folder))
      waitingFolders.push_back(folder);
    else if (error != ERROR_DIR_NOT_EMPTY)  // holding something else, the folder is someone else's too
      check(folder, error, FailureSite::TakeBackFolder, "RemoveDirectoryA");
  }
  return failed;
}

// The earlier file a run kept aside goes. One that another program still
// holds (a module a running simulator has loaded, on Windows) goes at the
// next restart; one out of reach stays, and so does the journal.
bool discardKeptCopy(const std::string& kept, std::vector<Failure>& left) {
  if (durable::deleteFile(kept)) return true;
  DWORD error = GetLastError();
  if (isGone(kept, error)) return false;
  // A read-only file refuses deletion on Windows XP..11 (DeleteFile gives
  // access denied, MSDN); Wine 8.0 lets it go.
  if (error == ERROR_ACCESS_DENIED && durable::setFileAttributes(kept, FILE_ATTRIBUTE_NORMAL)) {
    if (durable::deleteFile(kept)) return true;
    error = GetLastError();
  }
  if (!MoveFileExA(kept.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
    left.push_back({kept, error, FailureSite::DiscardKeptCopy, "DeleteFileA"});
  return false;
}

// Runs an uninstallation's events again, asking nothing: a file in use stays
// and is reported.
class QuietObserver final : public UninstallObserver {
 public:
  void progress(size_t, size_t, const std::string&) override {}
  bool fileInUse(const std::string&) override { return false; }
};

std::vector<Failure> finishUninstallation(const std::string& productName) {
  Registration registration;
  std::string damagedValue;
  switch (readRegistration(productName, registration, damagedValue)) {
    case RegistrationStatus::Missing:
      return {};  // removed before the run was cut off
    case RegistrationStatus::Damaged:
      return {{machineKeyName(registrationKey(productName)), ERROR_INVALID_DATA, FailureSite::UninstallRegistration,
               "RegQueryValueExA"}};
    case RegistrationStatus::Found:
      break;
  }
  QuietObserver observer;
  return runUninstall(productName, registration, observer).failed;
}

std::vector<std::string> missingDrivesOf(const std::vector<Failure>& left) {
  std::vector<std::string> drives;
  std::set<std::string> seen;
  for (const Failure& failure : left) {
    const std::string drive = missingDriveOf(failure.item);
    if (!drive.empty() && seen.insert(asciiLowerCase(drive)).second) drives.push_back(drive);
  }
  return drives;
}

// The first item of `failed` that another program holds, "" when none is.
std::string firstInUse(const std::vector<Failure>& failed) {
  for (const Failure& failure : failed)
    if (Escort::isInUse(failure.item, failure.systemError)) return failure.item;
  return std::string();
}

// The run's changes taken back, in passes while something fails or is being
// deleted and the run's patience lasts; what is left, or nothing once what
// was taken back is on the disk. Folders that hold only files still being
// deleted then go at the next restart, and those files are `atRestart`.
std::vector<Failure> takeBackInPasses(const std::vector<JournalRecord>& records, Waiting& waiting,
                                      std::vector<std::string>& atRestart) {
  PendingDeletions pending(waiting);
  std::vector<std::string> waitingFolders;
  std::vector<Failure> left = takeBack(records, pending, waitingFolders);
  // A scanner or an indexer that has just opened a file lets go of it within
  // moments: while one holds a file (or a name being deleted), the run waits
  // for it as long as its patience lasts, saying so; otherwise it tries a few
  // times more.
  for (int pass = 1; !left.empty() || !waitingFolders.empty(); ++pass) {
    const std::string held = firstInUse(left);
    if (waitingFolders.empty() && held.empty()) {
      if (pass >= kPassesWithoutPending) break;
      Sleep(kPauseBetweenPassesMs);
    } else if (!pending.pause(held)) {
      break;
    }
    left = takeBack(records, pending, waitingFolders);
  }
  for (const std::string& folder : waitingFolders) pending.removeAtRestart(folder);
  if (!waitingFolders.empty()) atRestart = pending.remaining();
  if (left.empty() && !flushChangesTo(pathsOf(records)))
    left.push_back({"", GetLastError(), FailureSite::FlushFiles, "FlushFileBuffers"});
  return left;
}

}  // namespace

std::vector<Failure> finishCommittedRun(const std::vector<JournalRecord>& records) {
  std::vector<Failure> left;
  std::vector<std::string> discarded;
  for (const JournalRecord& record : records) {
    if (record.kind == JournalRecordKind::FileReplaced && discardKeptCopy(record.keptCopy, left))
      discarded.push_back(record.keptCopy);
  }
  // Their deletion reaches the disk before the journal that names them goes.
  if (left.empty() && !flushChangesTo(discarded))
    left.push_back({"", GetLastError(), FailureSite::FlushFiles, "FlushFileBuffers"});
  return left;
}

JournalSettlement settleJournal(Waiting& waiting) {
  JournalSettlement settlement;
  if (!journalExists()) return settlement;
  std::vector<JournalRecord> records;
  switch (readJournal(records, settlement.problem)) {
    case JournalReading::Damaged:
      settlement.outcome = JournalSettlement::Damaged;
      return settlement;
    case JournalReading::Empty:
      removeJournal();
      settlement.outcome = JournalSettlement::TakenBack;
      return settlement;
    case JournalReading::Read:
      break;
  }
  if (records.front().kind == JournalRecordKind::UninstallBegun) {
    settlement.left = finishUninstallation(records.front().path);
    settlement.outcome = JournalSettlement::Finished;
  } else if (records.back().kind == JournalRecordKind::Committed) {
    settlement.left = finishCommittedRun(records);
    settlement.outcome = JournalSettlement::Finished;
  } else {
    settlement.left = takeBackInPasses(records, waiting, settlement.atRestart);
    settlement.outcome = JournalSettlement::TakenBack;
  }
  if (settlement.left.empty()) {
    removeJournal();
  } else {
    settlement.outcome = JournalSettlement::NotSettled;
    settlement.missingDrives = missingDrivesOf(settlement.left);
  }
  return settlement;
}
