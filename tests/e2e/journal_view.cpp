#include "journal_view.h"

#include "expected_installation.h"
#include "journal_store.h"
#include "registry_view.h"
#include "scenario.h"
#include "text_format.h"

std::optional<std::vector<JournalRecord>> runJournal() {
  const MachineTree tree = machineTree(kJournalKey);
  const auto journal = tree.find(kJournalKey);
  if (journal == tree.end()) return std::nullopt;
  std::vector<SavedRegistryValue> values;
  for (const auto& [name, value] : journal->second) values.push_back({name, value.type, value.data});
  std::vector<JournalRecord> records;
  std::string problem;
  const std::vector<std::string> runKeys = {kJournalKey, kSettingsKey, kRegistrationKey};
  check(readJournalRecords(values, runKeys, records, problem) != JournalReading::Damaged, "the journal reads: " + problem);
  return records;
}

bool journalEndsWithKeyChange(const std::string& subkey) {
  const auto records = runJournal();
  return records && !records->empty() && records->back().kind == JournalRecordKind::KeyChanged &&
         equalsIgnoringCase(records->back().key.subkey, subkey);
}
