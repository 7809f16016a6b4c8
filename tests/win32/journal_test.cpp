// The journal's own key: what a run cut off before its first record leaves,
// and what settling that takes away: the key alone, whatever stands above it.
#include <gtest/gtest.h>

#include "install_journal.h"
#include "journal_settlement.h"
#include "journal_store.h"
#include "product_names.h"
#include "registry_key.h"
#include "registry_view.h"

namespace {

const char kMaker[] = "Software\\Ninefold";

// A journal begun as a run begins one, its plan's values gone again: what a
// run cut off between making the key and writing its first record leaves.
void journalCutOffBeforeItsFirstRecord() {
  InstallJournal journal;
  ASSERT_TRUE(journal.begin(ChangePlan()));
  RegistryKey key;
  ASSERT_TRUE(key.open(kJournalKey, KEY_SET_VALUE | KEY_QUERY_VALUE));
  for (const SavedRegistryValue& value : key.values()) ASSERT_TRUE(key.deleteValue(value.name));
}

TEST(Journal, CutOffBeforeItsFirstRecord_TakesOnlyItsOwnKey) {
  const struct {
    const char* what;
    bool makerThereBefore;
  } cases[] = {{"the maker's key there, empty", true}, {"no maker's key", false}};
  for (const auto& c : cases) {
    removeJournal();
    ASSERT_TRUE(deleteMachineTree(kMaker));
    if (c.makerThereBefore) {
      ASSERT_TRUE(RegistryKey().create(kMaker, KEY_WRITE));
    }
    journalCutOffBeforeItsFirstRecord();
    const JournalSettlement settlement = settleJournal();
    EXPECT_EQ(settlement.outcome, JournalSettlement::TakenBack) << c.what;
    EXPECT_FALSE(journalExists()) << c.what;
    EXPECT_EQ(machineKeyExists(kMaker), c.makerThereBefore) << c.what;
  }
  deleteMachineTree(kMaker);
}

}  // namespace
