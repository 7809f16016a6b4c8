#pragma once
// The journal that a run of the setup program keeps while it changes the
// machine, read back from the registry with the program's own reader of its
// format, so that a scenario can tell where a run stood when it was ended.
#include <optional>
#include <string>
#include <vector>

#include "journal_format.h"

// The journal's records; nothing when there is no journal. A journal that
// cannot be read fails the scenario.
std::optional<std::vector<JournalRecord>> runJournal();
// Whether there is a journal of a run that has not succeeded yet.
bool journalUnderWay();
// The changes to the machine (as snapshotDifferences lists them) that none
// of the journal's records covers, though each is to be recorded before it is
// made: a folder made, a file put in place, an earlier file renamed to its
// kept copy, a temporary file beside one of them, a registry key or value
// changed. The journal's own key is no change of the installation.
std::vector<std::string> changesNotInJournal(const std::vector<std::string>& changes,
                                             const std::vector<JournalRecord>& journal);
