#include "journal_view.h"

#include "expected_installation.h"
#include "product_names.h"
#include "registry_view.h"
#include "scenario.h"
#include "temporary_file_name.h"
#include "text_format.h"
#include "tree_walk.h"

std::optional<std::vector<JournalRecord>> runJournal() {
  const MachineTree tree = machineTree(kJournalKey);
  const auto journal = tree.find(kJournalKey);
  if (journal == tree.end()) return std::nullopt;
  std::vector<SavedRegistryValue> values;
  for (const auto& [name, value] : journal->second) values.push_back({name, value.type, value.data});
  std::vector<JournalRecord> records;
  std::string problem;
  const std::vector<std::string> runKeys = {kSettingsKey, kRegistrationKey};
  check(readJournalRecords(values, runKeys, records, problem) != JournalReading::Damaged, "the journal reads: " + problem);
  return records;
}

bool journalUnderWay() {
  const auto records = runJournal();
  return records && !records->empty() && records->back().kind != JournalRecordKind::Committed;
}

namespace {

bool isBelowOrAt(const std::string& key, const std::string& level) {
  return equalsIgnoringCase(key, level) ||
         (key.size() > level.size() && key[level.size()] == '\\' && equalsIgnoringCase(key.substr(0, level.size()), level));
}

// Whether `record` covers the change of the file or folder `path` ("...\\" for a folder).
bool coversPath(const JournalRecord& record, const std::string& path) {
  if (path.back() == '\\')
    return record.kind == JournalRecordKind::DirectoryCreated && equalsIgnoringCase(withBackslash(record.path), path);
  if (record.kind != JournalRecordKind::FileCreated && record.kind != JournalRecordKind::FileReplaced) return false;
  if (equalsIgnoringCase(record.path, path) || equalsIgnoringCase(record.keptCopy, path)) return true;
  // The new file's temporary file, written first in the same folder.
  const std::string name = path.substr(path.rfind('\\') + 1);
  return Escort::isTemporaryFileName(name) && equalsIgnoringCase(parentDirectory(record.path), parentDirectory(path));
}

// Whether `record` covers the change of the registry key `key`, or of one of its values.
bool coversKey(const JournalRecord& record, const std::string& key) {
  if (record.kind != JournalRecordKind::KeyChanged) return false;
  // A key made by the change: any level from the first missing one down.
  return equalsIgnoringCase(record.key.subkey, key) ||
         (!record.key.firstMissing.empty() && isBelowOrAt(key, record.key.firstMissing) &&
          isBelowOrAt(record.key.subkey, key));
}

}  // namespace

std::vector<std::string> changesNotInJournal(const std::vector<std::string>& changes,
                                             const std::vector<JournalRecord>& journal) {
  std::vector<std::string> unrecorded;
  for (const std::string& difference : changes) {
    const std::string entry = difference.substr(2);  // after "+ ", "- " or "~ "
    const bool file = entry.size() > 2 && entry[1] == ':';
    // A registry entry is "key\\" or "key\\:value".
    const std::string key = file ? "" : entry.substr(0, entry.find("\\:") == std::string::npos ? entry.size() - 1
                                                                                            : entry.find("\\:"));
    if (!file && isBelowOrAt(key, kJournalKey)) continue;
    bool covered = false;
    for (const JournalRecord& record : journal) covered = covered || (file ? coversPath(record, entry) : coversKey(record, key));
    if (!covered) unrecorded.push_back(difference);
  }
  return unrecorded;
}
