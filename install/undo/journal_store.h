#pragma once
// Where the installation journal lives, and reading it back. A key of
// HKEY_LOCAL_MACHINE\Software: only the Administrators may write there, so
// no program of the user's can make a run take back what it never did, and
// it is the one place that is so on every file system (FAT32 keeps no
// permissions). Plain HKEY_LOCAL_MACHINE access: the registry view of the
// program's own build, as for everything else it writes.
#include <string>
#include <vector>

#include "journal_format.h"

inline constexpr char kJournalKey[] = "Software\\Ninefold\\Kestrel\\Setup Journal";

bool journalExists();

// The journal's records, checked as readJournalRecords does, against the
// keys that a run of the setup program changes.
JournalReading readJournal(std::vector<JournalRecord>& records, std::string& problem);

// Deletes the journal's key, then the levels above it that were made for it
// (as its first record says) and are empty now.
void removeJournal(const std::vector<JournalRecord>& records);
