#pragma once
// Settling the journal of a run: a run that succeeded loses what it kept
// aside; an uninstallation is finished; any other run is taken back, the
// latest change first. One path for every case: the run itself at its end, a
// later run of the setup program or the uninstaller finding the journal of a
// run that was ended from outside.
#include <string>
#include <vector>

#include "failure.h"
#include "journal_format.h"
#include "waiting.h"

struct JournalSettlement {
  enum Outcome {
    NoJournal,     // nothing to settle
    Finished,      // the run had succeeded, or was an uninstallation: it is complete now
    TakenBack,     // everything it changed is as it was before it
    NotSettled,    // some of it could not be done (`left`); the journal stays for a later run
    Damaged,       // the journal cannot be read (`problem`); nothing was touched
  } outcome = NoJournal;
  std::vector<Failure> left;
  // Files of a run taken back that another program still has open, being
  // deleted: they go when it lets go, at the latest when Windows restarts
  // (their folders are marked to go then).
  std::vector<std::string> atRestart;
  // The drives of `left` that cannot be seen at all ("E:\"): an unplugged
  // disk, a network drive not connected. Nothing on them is taken for gone.
  std::vector<std::string> missingDrives;
  std::string problem;
};

// The end of a run that has succeeded (its last record "committed"): what it
// kept aside goes, and that reaches the disk. `records` are the journal's, as
// written. What is left (a kept copy out of reach) must keep the journal for a
// later settlement; with nothing left, the journal may go.
std::vector<Failure> finishCommittedRun(const std::vector<JournalRecord>& records);

// Settles the journal in the registry, and removes it once it is settled,
// waiting with `waiting` for files being deleted.
// A step that fails is tried again a few times, every step of the run in its
// order, each time; what still fails is left as it is, with its record, so
// that a later settlement can finish the job. What a settlement changed
// reaches the disk before the journal goes.
JournalSettlement settleJournal(Waiting& waiting = quietWaiting());
