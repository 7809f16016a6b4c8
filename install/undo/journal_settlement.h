#pragma once
// Settling the installation journal of a run: a run that succeeded loses what
// it kept aside; any other is taken back, the latest change first. One path
// for every case: the run itself at its end, a later run of the setup
// program or the uninstaller finding the journal of a run that was ended
// from outside.
#include <string>
#include <vector>

#include "journal_format.h"
#include "uninstall_summary.h"

struct JournalSettlement {
  enum Outcome {
    NoJournal,    // nothing to settle
    Finished,     // the run had succeeded; what it kept aside is gone
    TakenBack,    // everything it changed is as it was before it
    NotTakenBack, // some changes could not be taken back (`left`); the journal stays
    Damaged,      // the journal cannot be read (`problem`); nothing was touched
  } outcome = NoJournal;
  std::vector<FailedItem> left;
  std::string problem;
};

// The end of a run that has succeeded (its last record "committed"): what it
// kept aside goes, then its journal. `records` are the journal's, as
// written.
void finishCommittedRun(const std::vector<JournalRecord>& records);

// Settles the journal in the registry, and removes it once it is settled.
// A step that fails is tried again a few times, every step of the run in its
// order, each time; what still fails is left as it is, with its record, so
// that a later settlement can finish the job.
JournalSettlement settleJournal();
