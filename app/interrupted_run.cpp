#include "interrupted_run.h"

#include <windows.h>

#include "journal_settlement.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "setup_exit_codes.h"
#include "setup_texts.h"
#include "text_format.h"

int settleInterruptedRun() {
  const JournalSettlement settlement = settleJournal();
  int exitCode = 0;
  switch (settlement.outcome) {
    case JournalSettlement::NoJournal:
    case JournalSettlement::Finished:
    case JournalSettlement::TakenBack:
      return 0;
    case JournalSettlement::NotSettled:
      exitCode = kExitNotTakenBack;
      break;
    case JournalSettlement::Damaged:
      exitCode = kExitRefused;
      break;
  }
  const std::string text = settlementText(settlement, loadString(IDS_ERROR_INTERRUPTED_NOT_TAKEN_BACK),
                                          loadString(IDS_ERROR_INTERRUPTED_DAMAGED));
  MessageBoxA(nullptr, text.c_str(), loadString(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_SETFOREGROUND);
  return exitCode;
}
