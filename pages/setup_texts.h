#pragma once
// The engine's texts from the setup program's string table: what it writes
// into the machine, and how its failures and settlements read in the
// program's messages.
#include <string>

#include "destination_check.h"
#include "failure.h"
#include "install_texts.h"
#include "journal_settlement.h"

InstallTexts installTexts();

// The lines under a failure message: what failed, why (`failure.reason`) and
// where; "" when nothing is known of it.
std::string failureDetail(const Failure& failure);

// A settlement that is NotSettled or Damaged in the setup program's words
// (settlement_report.h): `notSettledPattern` (%1 the items left) or
// `damagedPattern` (%1 what is wrong with the journal, %2 its key) filled in.
std::string settlementText(const JournalSettlement& settlement, const std::string& notSettledPattern,
                           const std::string& damagedPattern);

// Why a destination cannot take the installation (`path`: the longest path
// there, for one too long).
std::string destinationReason(DestinationTrouble trouble, const std::string& path);
