#pragma once
// What a settlement could not do, as the messages of both programs list it.
// No Windows headers: tested on the host.
#include <string>

#include "journal_settlement.h"

struct SettlementTexts {
  std::string failedItem;  // %1 item, %2 Windows error code
  std::string more;        // %1 number of items not listed
  std::string drives;      // %1 the drives that cannot be reached, one after the other
};

// The items the settlement left, each with Windows' error and its text (its
// `reason`, asked beforehand), then the drives it could not see.
std::string settlementLeftText(const JournalSettlement& settlement, const SettlementTexts& texts);
