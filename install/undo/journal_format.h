#pragma once
// The installation journal as it is stored: what one run of the setup program
// is about to change, each record written before the change it describes, so
// that a run that fails, or that is ended from outside at any instant, can be
// taken back. Each record is one registry value, which Windows writes whole
// or not at all. No Windows headers: the format is tested and fuzzed on the
// host.
#include <cstdint>
#include <string>
#include <vector>

#include "registry_key_state.h"

enum class JournalRecordKind : uint8_t {
  // `path`: a folder about to be made.
  DirectoryCreated = 1,
  // `path`: a file about to be put where none stood; its temporary file,
  // written first, lies in the same folder.
  FileCreated = 2,
  // `path`: a file about to be renamed to `keptCopy`, beside it, and a new one
  // put in its place; the new one's temporary file lies in the same folder.
  FileReplaced = 3,
  // `key`: a registry key as it stood before it changes.
  KeyChanged = 4,
  // The run has succeeded: what it kept aside may go. Only ever the last.
  Committed = 5,
};

struct JournalRecord {
  JournalRecordKind kind = JournalRecordKind::Committed;
  std::string path;
  std::string keptCopy;
  RegistryKeyState key;
};

std::string encodeJournalRecord(const JournalRecord& record);

enum class JournalReading {
  Empty,    // no record: the run stopped before it changed anything
  Read,     // the records, in the order they were written
  Damaged,  // `problem` says what is wrong; nothing of it may be acted on
};

// The records of the journal key's values "0", "1", ... (REG_BINARY, none
// missing). Damaged: any other value, a record that does not decode, a path
// that no installation writes (not a local absolute path, a file path ending
// in '\', a kept copy that is not beside its file or not named as one), a key
// that is none of `allowedKeys` or whose missing level is not one of its own
// levels below Software, a Committed record before the last.
JournalReading readJournalRecords(const std::vector<SavedRegistryValue>& values, const std::vector<std::string>& allowedKeys,
                                  std::vector<JournalRecord>& records, std::string& problem);
