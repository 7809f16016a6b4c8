#pragma once
// The journal that a run of the setup program keeps while it changes the
// machine, read back from the registry with the program's own reader of its
// format, so that a scenario can tell where a run stood when it was ended.
#include <optional>
#include <vector>

#include "journal_format.h"

// The journal's records; nothing when there is no journal. A journal that
// cannot be read fails the scenario.
std::optional<std::vector<JournalRecord>> runJournal();
// Whether the journal's last record says that `subkey` is about to change.
bool journalEndsWithKeyChange(const std::string& subkey);
