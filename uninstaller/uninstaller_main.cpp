// ksuninstall.exe: undoes an installation of Kestrel 3 from its uninstall
// registration. Started with the registration's name (uninstall_command_line.h);
// the program that was started asks, then hands the work to a copy of itself
// in the temporary folder (self_removal.h), which carries it out and reports.
#include <windows.h>

#include <string>
#include <vector>

#include "progress_dialog.h"
#include "registration_reader.h"
#include "self_removal.h"
#include "string_helpers.h"
#include "system_library.h"
#include "uninstall_command_line.h"
#include "uninstall_report.h"
#include "uninstall_run.h"
#include "uninstaller_ids.h"

namespace {

int showMessage(UINT captionId, const std::string& text, UINT type) {
  return MessageBoxA(nullptr, text.c_str(), loadString(captionId).c_str(),
                     type | MB_SETFOREGROUND);
}

void showError(UINT textId, const std::vector<std::string>& inserts) {
  showMessage(IDS_ERROR_CAPTION, fillIn(loadString(textId), inserts), MB_OK | MB_ICONERROR);
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

// The program that was started: checks, asks, and passes the work on.
void askAndHandOver(const std::string& productName) {
  Registration registration;
  if (!readOrExplain(productName, registration)) return;
  if (showMessage(IDS_QUESTION_CAPTION, fillIn(loadString(IDS_QUESTION), {registration.displayName}),
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  if (DWORD error = startCopyInTemp(productName)) showError(IDS_COPY_FAILED, {std::to_string(error)});
}

// The copy in the temporary folder: undoes the registration and reports.
void uninstall(HINSTANCE instance, const UninstallCommandLine& commandLine) {
  waitForOriginal(commandLine.originalProcess);
  Registration registration;
  if (readOrExplain(commandLine.productName, registration)) {
    UninstallSummary summary;
    {
      ProgressDialog dialog(instance,
                            fillIn(loadString(IDS_PROGRESS_CAPTION), {registration.displayName}));
      summary = runUninstall(commandLine.productName, registration, dialog);
    }
    const ReportTexts texts = {loadString(IDS_REPORT_DONE),        loadString(IDS_REPORT_FAILED),
                               loadString(IDS_REPORT_FAILED_ITEM), loadString(IDS_REPORT_REFUSED),
                               loadString(IDS_REPORT_KEPT),        loadString(IDS_REPORT_MORE)};
    if (!summary.complete())
      restoreUninstaller(uninstallerPathOf(registration.uninstallString, commandLine.productName));
    showMessage(IDS_REPORT_CAPTION, reportText(texts, summary, registration.displayName),
                MB_OK | (summary.complete() ? MB_ICONINFORMATION : MB_ICONWARNING));
  }
  scheduleCopyRemoval();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictDllSearchToSystemFolder();
  moduleInstance = instance;
  const UninstallCommandLine commandLine = parseUninstallCommandLine(GetCommandLineA(), ownProgramPath());
  if (commandLine.isCopy)
    uninstall(instance, commandLine);
  else
    askAndHandOver(commandLine.productName);
  return 0;
}
