#include "settlement_report.h"

#include "failure_text.h"
#include "product_names.h"
#include "text_format.h"

std::string settlementReport(JournalSettlement settlement, const SettlementTexts& texts, ErrorReason reasonOf) {
  switch (settlement.outcome) {
    case JournalSettlement::NotSettled: {
      for (Failure& item : settlement.left) item.reason = reasonOf(item.systemError);
      std::string text = failedItemsText(settlement.left, texts.failedItem, texts.more);
      if (!settlement.missingDrives.empty()) text += fillIn(texts.drives, {commaSeparated(settlement.missingDrives)});
      return fillIn(texts.notSettled, {text});
    }
    case JournalSettlement::Damaged:
      return fillIn(texts.damaged, {settlement.problem, machineKeyName(kJournalKey)});
    default:
      return std::string();
  }
}
