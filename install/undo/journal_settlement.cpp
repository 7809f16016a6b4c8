#include "journal_settlement.h"

#include <windows.h>

#include <set>

#include "destination_directory.h"
#include "journal_store.h"
#include "registry_state.h"
#include "text_format.h"
#include "undo_actions.h"

namespace {

// Tries, and the pause between them: a virus scanner or an indexer that has
// just opened a file lets go of it within moments.
constexpr int kPasses = 3;
constexpr DWORD kPauseBetweenPassesMs = 500;

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a record after `at` says that the file was there before the run
// put it: then it was never the run's to delete.
bool replacedLater(const std::vector<JournalRecord>& records, size_t at) {
  for (size_t later = at + 1; later < records.size(); ++later) {
    if (records[later].kind == JournalRecordKind::FileReplaced && equalsIgnoringCase(records[later].path, records[at].path))
      return true;
  }
  return false;
}

DWORD removeFolderIfEmpty(const std::string& folder) {
  if (RemoveDirectoryA(folder.c_str())) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  // A folder that holds something else now is someone else's too.
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIR_NOT_EMPTY
             ? ERROR_SUCCESS
             : error;
}

// One pass over the run, the latest change first, and the folders it made
// last, when all it put in them is gone (a folder is made when its first
// file needs it, after that file was recorded); what failed, in that order.
std::vector<FailedItem> takeBack(const std::vector<JournalRecord>& records) {
  std::vector<FailedItem> failed;
  std::set<std::string> cleared;  // folders rid of the files the run was writing
  const auto clearFolderOf = [&cleared](const std::string& path) {
    const std::string folder = parentDirectory(path);
    if (cleared.insert(asciiLowerCase(folder)).second) Escort::deleteTemporaryFiles(folder);
  };
  for (size_t at = records.size(); at-- > 0;) {
    const JournalRecord& record = records[at];
    DWORD error = ERROR_SUCCESS;
    switch (record.kind) {
      case JournalRecordKind::DirectoryCreated:
        break;
      case JournalRecordKind::FileCreated:
        clearFolderOf(record.path);
        if (!replacedLater(records, at)) error = deleteFileEvent(record.path);
        break;
      case JournalRecordKind::FileReplaced:
        clearFolderOf(record.path);
        // No kept copy: the earlier file was never moved, or is back already.
        if (exists(record.keptCopy)) error = restoreKeptCopy(record.keptCopy, record.path);
        break;
      case JournalRecordKind::KeyChanged:
        // The journal's own key goes once everything else is back.
        if (!equalsIgnoringCase(record.key.subkey, kJournalKey)) error = restoreKeyState(record.key);
        break;
      case JournalRecordKind::Committed:
        break;
    }
    if (error != ERROR_SUCCESS)
      failed.push_back({record.kind == JournalRecordKind::KeyChanged ? "HKEY_LOCAL_MACHINE\\" + record.key.subkey
                                                                     : record.path,
                        error});
  }
  // Made the shallowest first, so removed the deepest first.
  for (size_t at = records.size(); at-- > 0;) {
    if (records[at].kind != JournalRecordKind::DirectoryCreated) continue;
    if (DWORD error = removeFolderIfEmpty(records[at].path)) failed.push_back({records[at].path, error});
  }
  return failed;
}

// The run has succeeded: the earlier files it kept aside go. One that another
// program still holds (a module a running simulator has loaded, on Windows)
// goes at the next restart.
void discardKeptCopies(const std::vector<JournalRecord>& records) {
  for (const JournalRecord& record : records) {
    if (record.kind != JournalRecordKind::FileReplaced) continue;
    const char* kept = record.keptCopy.c_str();
    if (DeleteFileA(kept) || GetLastError() == ERROR_FILE_NOT_FOUND) continue;  // none: the file stayed as it was
    // A read-only file refuses deletion on Windows (Wine lets it go).
    if (GetLastError() == ERROR_ACCESS_DENIED && SetFileAttributesA(kept, FILE_ATTRIBUTE_NORMAL) && DeleteFileA(kept))
      continue;
    MoveFileExA(kept, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  }
}

}  // namespace

void finishCommittedRun(const std::vector<JournalRecord>& records) {
  discardKeptCopies(records);
  removeJournal(records);
}

JournalSettlement settleJournal() {
  JournalSettlement settlement;
  if (!journalExists()) return settlement;
  std::vector<JournalRecord> records;
  switch (readJournal(records, settlement.problem)) {
    case JournalReading::Damaged:
      settlement.outcome = JournalSettlement::Damaged;
      return settlement;
    case JournalReading::Empty:
      settlement.outcome = JournalSettlement::TakenBack;
      break;
    case JournalReading::Read:
      if (records.back().kind == JournalRecordKind::Committed) {
        finishCommittedRun(records);
        settlement.outcome = JournalSettlement::Finished;
        return settlement;
      }
      settlement.left = takeBack(records);
      for (int pass = 1; pass < kPasses && !settlement.left.empty(); ++pass) {
        Sleep(kPauseBetweenPassesMs);
        settlement.left = takeBack(records);
      }
      settlement.outcome = settlement.left.empty() ? JournalSettlement::TakenBack : JournalSettlement::NotTakenBack;
      break;
  }
  if (settlement.outcome != JournalSettlement::NotTakenBack) removeJournal(records);
  return settlement;
}
