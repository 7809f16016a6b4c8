#pragma once
// What a settlement could not do, as the messages of both programs report it.
// No Windows headers: tested on the host.
#include <string>

#include "journal_settlement.h"

// Each program's patterns for the report, from its string table.
struct SettlementTexts {
  std::string notSettled;  // %1 the items left and the drives missing
  std::string damaged;     // %1 what is wrong with the journal, %2 its key, from HKEY_LOCAL_MACHINE
  std::string failedItem;  // %1 item, %2 Windows error code
  std::string more;        // %1 number of items not listed
  std::string drives;      // %1 the drives that cannot be reached, one after the other
};

// What Windows says of an error code (system_message.h in the programs).
using ErrorReason = std::string (*)(unsigned long error);

// The report of a settlement that is NotSettled or Damaged, "" for the
// others: the items it left, each with Windows' error and `reasonOf` it, then
// the drives it could not see; or what is wrong with a journal that cannot
// be read, and the journal's key.
std::string settlementReport(JournalSettlement settlement, const SettlementTexts& texts, ErrorReason reasonOf);
