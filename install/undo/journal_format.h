#pragma once
// The installation journal as it is stored: what one run of the setup program
// (or of the uninstaller) is about to change, recorded before the change, so
// that a run that fails, or that is ended from outside at any instant (a
// power cut included), can be settled. Each registry value holds one or more
// records back to back, and Windows writes a value whole or not at all. No
// Windows headers: the format is tested and fuzzed on the host.
#include <cstdint>
#include <string>
#include <vector>

#include "registry_key_state.h"

enum class JournalRecordKind : uint8_t {
  // `path`: a folder about to be made.
  DirectoryCreated = 1,
  // `path`: a file about to be put where none stood. Always the run's own:
  // a run that finds another program's file there takes the record back out.
  FileCreated = 2,
  // `path`: a file about to be renamed to `keptCopy`, beside it, and a new
  // one put in its place (the shared module's new copy is written first under
  // a temporary name in the same folder).
  FileReplaced = 3,
  // `key`: a registry key as it stood before it changes.
  KeyChanged = 4,
  // The run has succeeded: what it kept aside may go. Only ever the last.
  Committed = 5,
  // `path`: the product name of a registration that the uninstaller is
  // removing; a settlement finishes the removal. Only ever alone.
  UninstallBegun = 6,
  // `path`: a folder the user chose for the run (the program directory, a
  // simulator's folder), with its backslash: below it, no level may be a link
  // when the run is taken back (link_guard.h). Before any change.
  Destination = 7,
};

struct JournalRecord {
  JournalRecordKind kind = JournalRecordKind::Committed;
  std::string path;
  std::string keptCopy;
  RegistryKeyState key;
};

std::string encodeJournalRecord(const JournalRecord& record);
// One value's worth: the records back to back.
std::string encodeJournalRecords(const std::vector<JournalRecord>& records);

enum class JournalReading {
  Empty,    // no record: the run stopped before it changed anything
  Read,     // the records, in the order they were written
  Damaged,  // `problem` says what is wrong; nothing of it may be acted on
};

// The records of the journal key's values "0", "1", ... (REG_BINARY, none
// missing), in order. Damaged: any other value, a record that does not decode,
// a path that no installation may change (installablePathProblem; a kept copy
// that is not beside its file or not named as one), a key that is none of
// `allowedKeys` or whose missing level is not one of its own levels below
// Software, a Committed record before the last, an UninstallBegun record with
// others or with a name that is no registration's.
JournalReading readJournalRecords(const std::vector<SavedRegistryValue>& values, const std::vector<std::string>& allowedKeys,
                                  std::vector<JournalRecord>& records, std::string& problem);
