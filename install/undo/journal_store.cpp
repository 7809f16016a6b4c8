#include "journal_store.h"

#include <windows.h>

#include "product_names.h"
#include "registration_reader.h"
#include "registry_key.h"

bool journalExists() { return RegistryKey().open(kJournalKey, KEY_QUERY_VALUE); }

std::vector<std::string> journalledKeys() { return {kProgramSettingsKey, registrationKey(kProductName)}; }

JournalReading readJournal(std::vector<JournalRecord>& records, std::string& problem) {
  RegistryKey key;
  if (!key.open(kJournalKey, KEY_QUERY_VALUE)) return JournalReading::Empty;
  return readJournalRecords(key.values(), journalledKeys(), records, problem);
}

unsigned long removeJournal() { return deleteKeyTree(kJournalKey); }
