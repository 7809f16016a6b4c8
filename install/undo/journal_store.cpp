#include "journal_store.h"

#include <windows.h>

#include "product_names.h"
#include "registration_reader.h"
#include "registry_key.h"
#include "text_format.h"

bool journalExists() { return RegistryKey().open(kJournalKey, KEY_QUERY_VALUE); }

std::vector<std::string> journalledKeys() { return {kProgramSettingsKey, registrationKey(kProductName)}; }

JournalReading readJournal(std::vector<JournalRecord>& records, std::string& problem) {
  RegistryKey key;
  if (!key.open(kJournalKey, KEY_QUERY_VALUE)) return JournalReading::Empty;
  return readJournalRecords(key.values(), journalledKeys(), records, problem);
}

unsigned long removeJournal() {
  std::string firstMade;
  {
    RegistryKey key;
    if (!key.open(kJournalKey, KEY_QUERY_VALUE)) return ERROR_SUCCESS;
    firstMade = key.keyClass();
  }
  // One step for the journal, whatever it holds: its values go with it.
  if (const DWORD error = deleteKeyTree(kJournalKey)) return error;
  // A class that names no level of the journal's own below Software is none of ours.
  if (firstMade.find('\\') != std::string::npos && firstMade.size() < std::string(kJournalKey).size() &&
      equalsIgnoringCase(firstMade + '\\', std::string(kJournalKey).substr(0, firstMade.size() + 1)))
    deleteEmptyParentKeys(kJournalKey, firstMade);
  return ERROR_SUCCESS;
}
