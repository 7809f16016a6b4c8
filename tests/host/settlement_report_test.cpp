#include "settlement_report.h"

#include <gtest/gtest.h>

#include <string>

#include "product_names.h"

namespace {

const SettlementTexts kTexts = {"Left:\n%1", "Unreadable: %1 (%2)", "%1 (error %2)", "...and %1 more",
                                "\nDrives: %1"};

std::string reasonOf(unsigned long error) { return "reason " + std::to_string(error); }

TEST(SettlementReport, ListsTheItemsLeftWithTheirReasonsThenTheDrives) {
  JournalSettlement settlement;
  settlement.outcome = JournalSettlement::NotSettled;
  settlement.left = {{"C:\\K\\kestrel.exe", 32}, {"E:\\FS9\\Modules\\ks.dll", 3}};
  settlement.missingDrives = {"E:\\", "F:\\"};
  EXPECT_EQ(settlementReport(settlement, kTexts, reasonOf),
            "Left:\nC:\\K\\kestrel.exe (error 32)\nreason 32\nE:\\FS9\\Modules\\ks.dll (error 3)\nreason 3\n"
            "Drives: E:\\, F:\\");
}

TEST(SettlementReport, ADamagedJournalNamesItsKeyFromTheMachineRoot) {
  JournalSettlement settlement;
  settlement.outcome = JournalSettlement::Damaged;
  settlement.problem = "record 3 is cut off";
  EXPECT_EQ(settlementReport(settlement, kTexts, reasonOf),
            "Unreadable: record 3 is cut off (" + machineKeyName(kJournalKey) + ")");
}

TEST(SettlementReport, ASettledJournalHasNothingToReport) {
  for (JournalSettlement::Outcome outcome :
       {JournalSettlement::NoJournal, JournalSettlement::Finished, JournalSettlement::TakenBack}) {
    JournalSettlement settlement;
    settlement.outcome = outcome;
    EXPECT_EQ(settlementReport(settlement, kTexts, reasonOf), "");
  }
}

}  // namespace
