#include "uninstaller_steps.h"

#include <windows.h>

#include "expected_installation.h"
#include "registry_view.h"
#include "scenario_check.h"
#include "shell_links.h"

const char kUninstallerCaption[] = "Kestrel Uninstaller";
const char kUninstallerErrorCaption[] = "Kestrel Uninstaller Error";
const char kUninstallReportCaption[] = "Kestrel Uninstaller Finished";
const char kNothingToUninstall[] =
    "There is nothing to uninstall: Kestrel 3 is not installed on this computer.\n\nNothing has been removed.";

std::string uninstallQuestion(const std::string& productName) {
  return "Do you want to remove " + productName +
         " from this computer?\n\n"
         "The shared simulator module fsuipc.dll stays where it is, because other add-ons may use it.";
}

std::string uninstalledReport(const std::string& productName) {
  return productName + " has been removed from this computer.";
}

std::string fileInUseQuestion(const std::string& path) {
  return "This file is in use by another program:\n" + path + "\n\nClose the program, then choose Retry.";
}

const std::string kUninstallQuestion = uninstallQuestion("Kestrel 3");
const std::string kUninstalledReport = uninstalledReport("Kestrel 3");

std::string uninstallCommandLine() {
  const auto value = readMachineValue(kRegistrationKey, "UninstallString");
  check(value && value->type == REG_SZ && !value->data.empty(), "the registration has an UninstallString");
  return value->data.substr(0, value->data.find('\0'));
}

std::string uninstallShortcutCommandLine() {
  const LoadedShortcut shortcut = loadShortcut(startMenuFolder() + "Uninstall Kestrel.lnk");
  check(shortcut.loaded, "the uninstall shortcut loads");
  return "\"" + shortcut.target + "\" " + shortcut.arguments;
}

Uninstall startUninstall(ProgramRuns& runs, const std::string& commandLine, const std::string& workingDirectory,
                         const std::string& productName, bool screenshots) {
  UiDriver& original = runs.startCommandLine(commandLine, workingDirectory);
  if (screenshots) original.screenshot("uninstall_question", original.waitForDialog(kUninstallerCaption));
  original.answerMessageBox(kUninstallerCaption, uninstallQuestion(productName), IDYES);
  // Its own question gone, a window of that caption is the copy's.
  original.waitFor("the question to close", [&] { return original.visibleWindowCount() == 0; });
  UiDriver& copy = runs.attachToWindow({kUninstallerCaption, kUninstallReportCaption, kUninstallerErrorCaption});
  return {original, copy};
}

std::string closeReport(Uninstall& uninstall, int copyExitCode, bool screenshot) {
  HWND reportBox = uninstall.copy.waitForDialog(kUninstallReportCaption);
  if (screenshot) uninstall.copy.screenshot("uninstall_report", reportBox);
  const std::string report = UiDriver::messageText(reportBox);
  uninstall.copy.answerDialog(kUninstallReportCaption, IDOK);
  uninstall.copy.expectExit(copyExitCode, "of the uninstaller's working copy");
  // Windows' list of programs refreshes when the program it started ends: only after the copy.
  uninstall.original.expectExit(copyExitCode, "of the uninstaller that was started, as its working copy's");
  return report;
}

std::string uninstallWithYes(ProgramRuns& runs, const std::string& commandLine, const std::string& workingDirectory,
                             int copyExitCode, bool screenshots) {
  Uninstall uninstall = startUninstall(runs, commandLine, workingDirectory, "Kestrel 3", screenshots);
  return closeReport(uninstall, copyExitCode, screenshots);
}

std::string nextMessage(UiDriver& program) {
  return UiDriver::captionAndText(
      program.waitForDialog({kUninstallerCaption, kUninstallReportCaption, kUninstallerErrorCaption}));
}

void declineUninstall(ProgramRuns& runs, const std::string& commandLine, const std::string& productName) {
  UiDriver& started = runs.startCommandLine(commandLine);
  started.answerMessageBox(kUninstallerCaption, uninstallQuestion(productName), IDNO);
  started.expectExit(kUninstallDeclined, "after No");
}

void restartWindows() {
  SetupProcess restart("wineboot.exe -r");
  check(restart.waitForEnd(60000), "wineboot -r ends");
  checkEqual(static_cast<long long>(restart.exitCode()), 0, "exit code of wineboot -r");
}
