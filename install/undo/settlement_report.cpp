#include "settlement_report.h"

#include "failure_text.h"
#include "text_format.h"

std::string settlementLeftText(const JournalSettlement& settlement, const SettlementTexts& texts) {
  std::string text = failedItemsText(settlement.left, texts.failedItem, texts.more);
  std::string drives;
  for (const std::string& drive : settlement.missingDrives) drives += (drives.empty() ? "" : ", ") + drive;
  if (!drives.empty()) text += fillIn(texts.drives, {drives});
  return text;
}
