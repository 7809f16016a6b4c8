#pragma once
// A journal begun for one test as the progress page begins it. What the test
// leaves of it is removed at the end, with the levels made for it, and
// nothing it records is taken back then.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "install_journal.h"
#include "journal_settlement.h"
#include "journal_store.h"

class ScratchJournal {
 public:
  ScratchJournal() = default;
  ScratchJournal(const ScratchJournal&) = delete;
  ScratchJournal& operator=(const ScratchJournal&) = delete;
  ~ScratchJournal() { discard(); }

  // A journal of `plan`: what a run records before it changes anything.
  InstallJournal& begin(const ChangePlan& plan = {}) {
    discard();
    journal = std::make_unique<InstallJournal>();
    EXPECT_TRUE(journal->begin(plan));
    return *journal;
  }
  InstallJournal& operator*() { return *journal; }
  InstallJournal* operator->() { return journal.get(); }

  static void discard() { removeJournal(); }

 private:
  std::unique_ptr<InstallJournal> journal;
};
