#include "setup_texts.h"

#include "failure_text.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "settlement_report.h"
#include "system_message.h"
#include "text_format.h"

InstallTexts installTexts() {
  InstallTexts texts;
  texts.programFiles = loadString(IDS_UNINSTALL_PROGRAM_FILES);
  texts.mainModule = loadString(IDS_UNINSTALL_MODULE_DLL);
  texts.transponder = loadString(IDS_UNINSTALL_TRANSPONDER_DLL);
  texts.autoJoin = loadString(IDS_UNINSTALL_AUTO_JOIN_DLL);
  texts.defaultModels = loadString(IDS_UNINSTALL_DEFAULT_MODELS);
  texts.marlinModels = loadString(IDS_UNINSTALL_MARLIN_MODELS);
  texts.settings = loadString(IDS_UNINSTALL_REGISTRY);
  texts.startMenu = loadString(IDS_UNINSTALL_START_MENU);
  texts.startMenuFolder = loadString(IDS_START_MENU_FOLDER);
  texts.uninstallShortcut = loadString(IDS_SHORTCUT_UNINSTALL);
  texts.userGuideShortcut = loadString(IDS_SHORTCUT_USER_GUIDE);
  return texts;
}

std::string failureDetail(const Failure& failure) {
  return failureLines(failure, loadString(IDS_FAILURE_WHERE), loadString(IDS_FAILURE_AT));
}

std::string settlementText(const JournalSettlement& settlement, const std::string& notSettledPattern,
                           const std::string& damagedPattern) {
  return settlementReport(settlement,
                          {notSettledPattern, damagedPattern, loadString(IDS_FAILED_ITEM), loadString(IDS_MORE_ITEMS),
                           loadString(IDS_DRIVES_MISSING)},
                          systemMessage);
}

std::string destinationReason(DestinationTrouble trouble, const std::string& path) {
  switch (trouble) {
    case DestinationTrouble::DriveMissing:
      return loadString(IDS_DESTINATION_DRIVE_MISSING);
    case DestinationTrouble::NotLocal:
      return loadString(IDS_DESTINATION_NOT_LOCAL);
    case DestinationTrouble::TooLong:
      return fillIn(loadString(IDS_DESTINATION_TOO_LONG), {path});
    case DestinationTrouble::Link:
      return fillIn(loadString(IDS_DESTINATION_LINK), {path});
    case DestinationTrouble::None:
      break;
  }
  return std::string();
}
