#include "install_journal.h"

#include <windows.h>

#include <algorithm>

#include "journal_settlement.h"
#include "journal_store.h"
#include "registry_state.h"
#include "text_format.h"

bool InstallJournal::begin() {
  const RegistryKeyState before = captureKeyState(kJournalKey);
  // A journal there already is another run's, never to be written to.
  if (!key.createNew(kJournalKey, KEY_SET_VALUE)) return false;
  // The first record says which levels were made for the journal, so that
  // they go with it.
  JournalRecord record;
  record.kind = JournalRecordKind::KeyChanged;
  record.key = before;
  return append(record);
}

bool InstallJournal::directoryWillBeCreated(const char* directory) {
  JournalRecord record;
  record.kind = JournalRecordKind::DirectoryCreated;
  record.path = directory;
  if (!append(record)) return false;
  createdDirectories.push_back(directory);
  return true;
}

bool InstallJournal::fileWillBeCreated(const char* path) {
  JournalRecord record;
  record.kind = JournalRecordKind::FileCreated;
  record.path = path;
  return append(record);
}

bool InstallJournal::fileWillBeReplaced(const char* path, const char* keptCopy) {
  JournalRecord record;
  record.kind = JournalRecordKind::FileReplaced;
  record.path = path;
  record.keptCopy = keptCopy;
  if (!append(record)) return false;
  replacedFolders.insert(asciiLowerCase(parentDirectory(path)));
  return true;
}

bool InstallJournal::keyWillChange(const std::string& subkey) {
  JournalRecord record;
  record.kind = JournalRecordKind::KeyChanged;
  record.key = captureKeyState(subkey);
  return append(record);
}

// One flush of each volume: it writes out every file on it at once, where
// flushing file by file would wait for the disk once per file.
void InstallJournal::flushReplacedFiles() const {
  std::set<std::string> volumes;
  for (const std::string& folder : replacedFolders) {
    char root[MAX_PATH];
    if (GetVolumePathNameA(folder.c_str(), root, MAX_PATH) && root[0] && root[1] == ':')
      volumes.insert(asciiLowerCase(std::string(root, 2)));
  }
  for (const std::string& volume : volumes) {
    HANDLE device = CreateFileA(("\\\\.\\" + volume).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) continue;
    FlushFileBuffers(device);
    CloseHandle(device);
  }
}

bool InstallJournal::markCommitted() {
  JournalRecord record;
  record.kind = JournalRecordKind::Committed;
  return append(record);
}

void InstallJournal::finish() const { finishCommittedRun(written); }

std::vector<std::string> InstallJournal::createdParentsOf(const std::string& directory) const {
  std::string path = directory;
  removeTrailingBackslash(path);
  std::vector<std::string> parents;
  for (path = parentDirectory(path); !path.empty(); path = parentDirectory(path)) {
    const bool created = std::any_of(createdDirectories.begin(), createdDirectories.end(),
                                     [&path](const std::string& made) { return equalsIgnoringCase(made, path); });
    if (created) parents.push_back(path + '\\');
  }
  return parents;
}

bool InstallJournal::append(const JournalRecord& record) {
  if (key.handle() == nullptr || !key.setBinary(std::to_string(written.size()), encodeJournalRecord(record)))
    return false;
  written.push_back(record);
  return true;
}
