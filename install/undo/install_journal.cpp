#include "install_journal.h"

#include <windows.h>

#include <algorithm>

#include "file_placement.h"
#include "journal_settlement.h"
#include "journal_store.h"
#include "product_names.h"
#include "registry_state.h"
#include "text_format.h"

namespace {

// A registry value grows no bigger than this: the plan of a large payload
// is a few values of it, each written whole or not at all.
constexpr size_t kValueBytes = 32 * 1024;

JournalRecord fileRecord(JournalRecordKind kind, const std::string& path, const std::string& keptCopy = "") {
  JournalRecord record;
  record.kind = kind;
  record.path = path;
  record.keptCopy = keptCopy;
  return record;
}

// Makes the journal's key. A journal there already is another run's, never
// to be written to.
bool createJournalKey(RegistryKey& key) { return key.createNew(kJournalKey, KEY_SET_VALUE | KEY_QUERY_VALUE); }

}  // namespace

bool recordUninstallation(const std::string& productName) {
  RegistryKey key;
  JournalRecord record;
  record.kind = JournalRecordKind::UninstallBegun;
  record.path = productName;
  return createJournalKey(key) && key.setBinary("0", encodeJournalRecord(record)) && key.flush();
}

bool InstallJournal::begin(const ChangePlan& plan) {
  if (!createJournalKey(key)) return false;
  std::vector<JournalRecord> planned;
  for (const std::string& folder : plan.destinations) planned.push_back(fileRecord(JournalRecordKind::Destination, folder));
  for (const std::string& subkey : plan.keys) {
    JournalRecord record;
    record.kind = JournalRecordKind::KeyChanged;
    record.key = captureKeyState(subkey);
    planned.push_back(record);
  }
  for (const std::string& folder : plan.folders) {
    planned.push_back(fileRecord(JournalRecordKind::DirectoryCreated, folder));
    folders.insert(asciiLowerCase(folder));
    createdDirectories.push_back(folder);
  }
  for (const PlannedFile& file : plan.files) {
    planned.push_back(file.keptCopy.empty() ? fileRecord(JournalRecordKind::FileCreated, file.path)
                                            : fileRecord(JournalRecordKind::FileReplaced, file.path, file.keptCopy));
  }
  // Into values of about kValueBytes each, every file's place noted.
  size_t bytes = 0;
  for (JournalRecord& record : planned) {
    const size_t size = encodeJournalRecord(record).size();
    if (values.empty() || (bytes + size > kValueBytes && !values.back().empty())) {
      values.emplace_back();
      bytes = 0;
    }
    bytes += size;
    if (record.kind == JournalRecordKind::FileCreated || record.kind == JournalRecordKind::FileReplaced)
      files[asciiLowerCase(record.path)] = {values.size() - 1, values.back().size()};
    values.back().push_back(std::move(record));
  }
  for (size_t value = 0; value < values.size(); ++value) {
    if (!writeValue(value)) return false;
  }
  if (!key.flush()) return false;
  writtenFiles.begin(plan.destinations);
  return true;
}

Escort::UndoLog::Known InstallJournal::knownFile(const char* path) {
  const auto found = files.find(asciiLowerCase(path));
  if (found == files.end()) return Known::Nothing;
  return values[found->second.value][found->second.index].kind == JournalRecordKind::FileReplaced ? Known::EarlierFile
                                                                                                  : Known::NoFile;
}

bool InstallJournal::directoryWillBeCreated(const char* directory) {
  if (folders.count(asciiLowerCase(directory))) return true;
  if (!append(fileRecord(JournalRecordKind::DirectoryCreated, directory))) return false;
  folders.insert(asciiLowerCase(directory));
  createdDirectories.push_back(directory);
  return true;
}

bool InstallJournal::fileWillBeCreated(const char* path) {
  const auto found = files.find(asciiLowerCase(path));
  if (found == files.end()) {
    if (!append(fileRecord(JournalRecordKind::FileCreated, path))) return false;
    files[asciiLowerCase(path)] = {values.size() - 1, 0};
    return true;
  }
  // The earlier file the plan saw cannot be found: gone, or out of sight on a
  // drive that went away. Neither is a new file of this run's to delete
  // later, so the run goes no further with it.
  if (values[found->second.value][found->second.index].kind == JournalRecordKind::FileReplaced) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  return true;
}

bool InstallJournal::fileWillBeReplaced(const char* path, std::string& keptCopy) {
  const auto found = files.find(asciiLowerCase(path));
  if (found != files.end()) {
    const JournalRecord& planned = values[found->second.value][found->second.index];
    if (keptCopy.empty() && planned.kind == JournalRecordKind::FileReplaced) {
      keptCopy = planned.keptCopy;
      return true;
    }
  }
  // Another program's file where the plan had none, or a kept copy's name
  // that another file took since the plan was made: a new name, recorded.
  if (keptCopy.empty()) keptCopy = Escort::newKeptCopyPath(path);
  if (keptCopy.empty()) {
    SetLastError(ERROR_FILE_EXISTS);
    return false;
  }
  const JournalRecord wanted = fileRecord(JournalRecordKind::FileReplaced, path, keptCopy);
  if (found != files.end()) return change(found->second, wanted);
  if (!append(wanted)) return false;
  files[asciiLowerCase(path)] = {values.size() - 1, 0};
  return true;
}

bool InstallJournal::flushWrittenFiles() { return writtenFiles.flush(createdDirectories); }

bool InstallJournal::markCommitted() {
  JournalRecord record;
  record.kind = JournalRecordKind::Committed;
  return append(record);
}

void InstallJournal::finish() const {
  if (finishCommittedRun(records()).empty()) removeJournal();
}

const RegistryKeyState* InstallJournal::keyAsItStood(const std::string& subkey) const {
  for (const std::vector<JournalRecord>& value : values)
    for (const JournalRecord& record : value)
      if (record.kind == JournalRecordKind::KeyChanged && equalsIgnoringCase(record.key.subkey, subkey))
        return &record.key;
  return nullptr;
}

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

std::vector<JournalRecord> InstallJournal::records() const {
  std::vector<JournalRecord> all;
  for (const std::vector<JournalRecord>& value : values) all.insert(all.end(), value.begin(), value.end());
  return all;
}

bool InstallJournal::writeValue(size_t value) const {
  return key.setBinary(std::to_string(value), encodeJournalRecords(values[value]));
}

bool InstallJournal::append(const JournalRecord& record) {
  if (!began()) return false;
  values.push_back({record});
  if (writeValue(values.size() - 1) && key.flush()) return true;
  values.pop_back();
  return false;
}

bool InstallJournal::change(const Place& place, const JournalRecord& record) {
  JournalRecord& planned = values[place.value][place.index];
  const JournalRecord before = planned;
  planned = record;
  if (writeValue(place.value) && key.flush()) return true;
  planned = before;
  return false;
}
