// ksuninstall.exe: undoes an installation of Kestrel 3 from its uninstall
// registration. Started with the registration's name (uninstall_command_line.h);
// the program that was started asks, then hands the work to a copy of itself
// in the Windows folder's Temp (self_removal.h), which carries it out and
// reports, and ends with the copy's exit code.
#include <windows.h>

#include <string>
#include <vector>

#include "administrator_rights.h"
#include "dll_search.h"
#include "journal_settlement.h"
#include "journal_store.h"
#include "module_strings.h"
#include "progress_dialog.h"
#include "registration_reader.h"
#include "self_removal.h"
#include "settlement_report.h"
#include "single_run.h"
#include "system_message.h"
#include "text_format.h"
#include "uninstall_command_line.h"
#include "uninstall_report.h"
#include "uninstall_run.h"
#include "uninstaller_exit_codes.h"
#include "uninstaller_ids.h"
#include "working_copy.h"

namespace {

// How long the working copy waits for the program that started it to let go
// of the run.
constexpr DWORD kHandOverMs = 60000;

int showMessage(UINT captionId, const std::string& text, UINT type) {
  return MessageBoxA(nullptr, text.c_str(), loadString(captionId).c_str(),
                     type | MB_SETFOREGROUND);
}

// `reason`, when given, is what Windows said of the failure, on its own line
// below the text.
void showError(UINT textId, const std::vector<std::string>& inserts, const std::string& reason = "") {
  showMessage(IDS_ERROR_CAPTION, fillIn(loadString(textId), inserts) + (reason.empty() ? "" : "\n\n" + reason),
              MB_OK | MB_ICONERROR);
}

// Each item with what Windows says of its error.
std::vector<Failure> withReasons(std::vector<Failure> items) {
  for (Failure& item : items) item.reason = systemMessage(item.systemError);
  return items;
}

// A registration name that could be one: not empty, one key name.
bool isRegistrationName(const std::string& productName) {
  return !productName.empty() && findBackslash(productName) == std::string::npos;
}

// Reads the registration; says why when there is none to undo.
bool readOrExplain(const std::string& productName, Registration& registration) {
  std::string damagedValue;
  switch (readRegistration(productName, registration, damagedValue)) {
    case RegistrationStatus::Found:
      return true;
    case RegistrationStatus::Missing:
      if (productName.empty())
        showError(IDS_NO_NAME, {});
      else
        showError(IDS_NOT_REGISTERED, {productName});
      return false;
    case RegistrationStatus::Damaged:
      showError(IDS_DAMAGED, {productName, damagedValue});
      return false;
  }
  return false;
}

// The program that was started: checks, asks, and passes the work on. An
// installation that was interrupted has a journal and perhaps no (or a half
// written) registration yet: the copy takes it back first.
int askAndHandOver(const std::string& productName) {
  Registration registration;
  if (isRegistrationName(productName) && journalExists())
    registration.displayName = productName;
  else if (!readOrExplain(productName, registration))
    return kUninstallRefused;
  if (showMessage(IDS_QUESTION_CAPTION, fillIn(loadString(IDS_QUESTION), {registration.displayName}),
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return kUninstallDeclined;
  DWORD exitCode = kUninstallDone;
  if (DWORD error = runCopyInTemp(productName, exitCode)) {
    showError(IDS_COPY_FAILED, {std::to_string(error)}, systemMessage(error));
    return kUninstallNoWorkingCopy;
  }
  return static_cast<int>(exitCode);
}

// In the copy: settles first an installation or an uninstallation that was
// interrupted, then undoes the registration and reports. The removal is
// recorded in the journal before anything goes, so that a run cut off part-way
// is finished by the next run of either program.
int undoRegistration(HINSTANCE instance, const std::string& productName) {
  const JournalSettlement settlement = settleJournal();
  if (settlement.outcome == JournalSettlement::NotSettled || settlement.outcome == JournalSettlement::Damaged) {
    showMessage(IDS_ERROR_CAPTION,
                settlementReport(settlement,
                                 {loadString(IDS_INTERRUPTED_NOT_TAKEN_BACK), loadString(IDS_INTERRUPTED_DAMAGED),
                                  loadString(IDS_REPORT_FAILED_ITEM), loadString(IDS_REPORT_MORE),
                                  loadString(IDS_DRIVES_MISSING)},
                                 systemMessage),
                MB_OK | MB_ICONERROR);
    return settlement.outcome == JournalSettlement::NotSettled ? kUninstallNotTakenBack : kUninstallRefused;
  }
  Registration registration;
  std::string damagedValue;
  // An interrupted first installation, now gone with its journal, never had
  // a registration; an interrupted uninstallation has just removed it.
  if (settlement.outcome != JournalSettlement::NoJournal &&
      readRegistration(productName, registration, damagedValue) == RegistrationStatus::Missing) {
    showMessage(IDS_REPORT_CAPTION, fillIn(loadString(IDS_REPORT_DONE), {productName}), MB_OK | MB_ICONINFORMATION);
    return kUninstallDone;
  }
  if (!readOrExplain(productName, registration)) return kUninstallRefused;
  // Something stays (a file the user chose to leave in use): the uninstaller
  // goes back where the registration names it, to be started again from there.
  const auto putBack = [&] {
    const std::string uninstaller = uninstallerPathOf(registration.uninstallString, productName);
    restoreUninstaller(uninstaller);
    return uninstaller;
  };
  UninstallSummary summary;
  DWORD error = ERROR_SUCCESS;
  {
    ProgressDialog dialog(instance, fillIn(loadString(IDS_PROGRESS_CAPTION), {registration.displayName}));
    if (!uninstallRecorded(productName, registration, dialog,
                           uninstallerPathOf(registration.uninstallString, productName), copyFolder(), putBack,
                           summary))
      error = GetLastError();
  }
  if (error) {
    showError(IDS_RECORD_FAILED, {std::to_string(error)}, systemMessage(error));
    return kUninstallRefused;
  }
  summary.failed = withReasons(summary.failed);
  const ReportTexts texts = {loadString(IDS_REPORT_DONE),        loadString(IDS_REPORT_FAILED),
                             loadString(IDS_REPORT_FAILED_ITEM), loadString(IDS_REPORT_REFUSED),
                             loadString(IDS_REPORT_KEPT),        loadString(IDS_REPORT_MORE),
                             loadString(IDS_REPORT_LINKS),       loadString(IDS_REPORT_AT_RESTART)};
  showMessage(IDS_REPORT_CAPTION, reportText(texts, summary, registration.displayName),
              MB_OK | (summary.complete() ? MB_ICONINFORMATION : MB_ICONWARNING));
  return summary.complete() ? kUninstallDone : kUninstallIncomplete;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictDllSearchToSystemFolder();
  moduleInstance = instance;
  if (!runsAsAdministrator()) {
    showError(IDS_NOT_ADMINISTRATOR, {});
    return kUninstallNotAdministrator;
  }
  const UninstallCommandLine commandLine = parseUninstallCommandLine(GetCommandLineA(), ownProgramPath());
  // The working copy is the same run: it takes over from the program that
  // started it, which holds the run until the copy has started.
  int result = kUninstallAlreadyRunning;
  if (!becomeTheOnlyRun(commandLine.isCopy ? kHandOverMs : 0))
    showError(IDS_ALREADY_RUNNING, {});
  else
    result = commandLine.isCopy ? undoRegistration(instance, commandLine.productName)
                                : askAndHandOver(commandLine.productName);
  return result;
}
