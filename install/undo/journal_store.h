#pragma once
// Where the installation journal lives, reading it back and removing it: the
// key kJournalKey of HKEY_LOCAL_MACHINE\Software. Only the Administrators may
// write there, so no program of the user's can make a run take back what it
// never did, and it is the one place that is so on every file system (FAT32
// keeps no permissions). Plain HKEY_LOCAL_MACHINE access: the registry view
// of the program's own build, as for everything else it writes. The key lies
// right below Software: it is made, and it goes, whole, in one step.
#include <string>
#include <vector>

#include "journal_format.h"

bool journalExists();

// The keys whose earlier state a run records: the settings and the registration.
std::vector<std::string> journalledKeys();

// The journal's records, checked as readJournalRecords does, against
// journalledKeys().
JournalReading readJournal(std::vector<JournalRecord>& records, std::string& problem);

// Deletes the journal's key with its values, in one step. ERROR_SUCCESS also
// when there was none.
unsigned long removeJournal();
