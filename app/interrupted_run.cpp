#include "interrupted_run.h"

#include <windows.h>

#include "journal_settlement.h"
#include "module_strings.h"
#include "product_names.h"
#include "resource_ids.h"
#include "setup_exit_codes.h"
#include "setup_texts.h"
#include "text_format.h"

int settleInterruptedRun() {
  const JournalSettlement settlement = settleJournal();
  std::string text;
  int exitCode = 0;
  switch (settlement.outcome) {
    case JournalSettlement::NoJournal:
    case JournalSettlement::Finished:
    case JournalSettlement::TakenBack:
      return 0;
    case JournalSettlement::NotSettled:
      text = fillIn(loadString(IDS_ERROR_INTERRUPTED_NOT_TAKEN_BACK), {settlementText(settlement)});
      exitCode = kExitNotTakenBack;
      break;
    case JournalSettlement::Damaged:
      text = fillIn(loadString(IDS_ERROR_INTERRUPTED_DAMAGED), {settlement.problem, kJournalKey});
      exitCode = kExitRefused;
      break;
  }
  MessageBoxA(nullptr, text.c_str(), loadString(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_SETFOREGROUND);
  return exitCode;
}
