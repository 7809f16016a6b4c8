#include "uninstaller_steps.h"

#include <windows.h>

#include "expected_installation.h"
#include "registry_view.h"
#include "scenario.h"
#include "shell_links.h"

const char kUninstallerCaption[] = "Kestrel Uninstaller";
const char kUninstallerErrorCaption[] = "Kestrel Uninstaller Error";
const char kUninstallReportCaption[] = "Kestrel Uninstaller Finished";
const char kUninstallQuestion[] =
    "Do you want to remove Kestrel 3 from this computer?\n\n"
    "The shared simulator module fsuipc.dll stays where it is, because other add-ons may use it.";
const char kUninstalledReport[] = "Kestrel 3 has been removed from this computer.";
const char kNothingToUninstall[] =
    "There is nothing to uninstall: Kestrel 3 is not installed on this computer.\n\nNothing has been removed.";

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

std::string uninstallWithYes(ScenarioRun& run, const std::string& commandLine, const std::string& workingDirectory,
                             int copyExitCode) {
  UiDriver& started = run.startCommandLine(commandLine, workingDirectory);
  started.answerMessageBox(kUninstallerCaption, kUninstallQuestion, IDYES);
  checkEqual(static_cast<long long>(started.waitForEnd()), kUninstallDone, "exit code of the uninstaller that was started");

  UiDriver& copy = run.attachToWindow(kUninstallReportCaption);
  const std::string report = UiDriver::messageText(copy.waitForDialog(kUninstallReportCaption));
  copy.answerDialog(kUninstallReportCaption, IDOK);
  checkEqual(static_cast<long long>(copy.waitForEnd()), copyExitCode, "exit code of the uninstaller's working copy");
  return report;
}

void declineUninstall(ScenarioRun& run, const std::string& commandLine) {
  UiDriver& started = run.startCommandLine(commandLine);
  started.answerMessageBox(kUninstallerCaption, kUninstallQuestion, IDNO);
  checkEqual(static_cast<long long>(started.waitForEnd()), kUninstallDeclined, "exit code after No");
}

void restartWindows() {
  SetupProcess restart("wineboot.exe -r");
  check(restart.waitForEnd(60000), "wineboot -r ends");
  checkEqual(static_cast<long long>(restart.exitCode()), 0, "exit code of wineboot -r");
}
