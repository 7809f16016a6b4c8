#include "journal_store.h"

#include <windows.h>

#include "registration_reader.h"
#include "registry_key.h"
#include "registry_settings.h"
#include "registry_state.h"
#include "text_format.h"
#include "undo_actions.h"
#include "uninstall_log.h"

namespace {

// The journal's key was made with its levels down from this one. Without a
// first record to say so, the run stopped as it made the key, and only the
// maker's own level can have been made with it.
std::string firstLevelMadeForJournal(const std::vector<JournalRecord>& records) {
  if (!records.empty() && records.front().kind == JournalRecordKind::KeyChanged &&
      equalsIgnoringCase(records.front().key.subkey, kJournalKey))
    return records.front().key.firstMissing;
  return "Software\\Ninefold";
}

}  // namespace

bool journalExists() { return RegistryKey().open(kJournalKey, KEY_QUERY_VALUE); }

JournalReading readJournal(std::vector<JournalRecord>& records, std::string& problem) {
  RegistryKey key;
  if (!key.open(kJournalKey, KEY_QUERY_VALUE)) return JournalReading::Empty;
  const std::vector<std::string> runKeys = {kJournalKey, kProgramSettingsKey,
                                            registrationKey(Escort::kProductName)};
  return readJournalRecords(valuesOf(key.handle()), runKeys, records, problem);
}

void removeJournal(const std::vector<JournalRecord>& records) {
  if (deleteKeyTree(HKEY_LOCAL_MACHINE, kJournalKey) != ERROR_SUCCESS) return;
  const std::string made = firstLevelMadeForJournal(records);
  if (!made.empty()) deleteEmptyParentKeys(kJournalKey, made);
}
