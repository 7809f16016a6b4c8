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

// What a settlement could not do: each item with Windows' error and what
// Windows says of it, then the drives that cannot be reached; or, for a
// journal that cannot be read, what is wrong with it.
std::string settlementText(JournalSettlement settlement);

// Why a destination cannot take the installation (`path`: the longest path
// there, for one too long).
std::string destinationReason(DestinationTrouble trouble, const std::string& path);
