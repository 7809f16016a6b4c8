// A second setup program or uninstaller started while one runs (a download
// double-clicked twice) refuses, having changed nothing, and the first goes
// on undisturbed.
#include <string>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "journal_view.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "throttle.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

const char kAlreadyRunning[] =
    "The Kestrel installer or uninstaller is already running.\n\nWait until it has finished, then try again.";

void expectRefused(UiDriver& second, const std::string& caption, int exitCode, const std::string& what) {
  second.answerMessageBox(caption, kAlreadyRunning, IDOK);
  second.expectExit(exitCode, "of " + what);
  checkEqual(static_cast<long long>(second.visibleWindowCount()), 0, "windows left by " + what);
}

}  // namespace

// A second setup program while the first shows its welcome page, and while it
// installs; an uninstaller while it installs.
SCENARIO(second_copies_refused) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& first = run.startSetup();
  expectWelcomePage(first);
  expectRefused(run.startSetup(), kErrorCaption, kExitAlreadyRunning, "a second setup program at the welcome page");
  checkSameMachine(before);

  goToTypePage(first, run.setupProgram());
  first.click(IDC_NEXT);
  expectProgramDirPage(first, defaultProgramDir());
  const HANDLE program = first.process().handle();
  first.clickAndRunUntil(IDC_NEXT, "the program files are being installed",
                         [] { return !filesBelow(defaultProgramDir()).empty(); });
  expectRefused(run.startSetup(), kErrorCaption, kExitAlreadyRunning, "a second setup program during the installation");
  const std::string uninstaller = withBackslash(run.payloadTree()) + "ks\\ksuninstall.exe";
  expectRefused(run.startCommandLine("\"" + uninstaller + "\" Kestrel 3"), kUninstallerErrorCaption,
                kUninstallAlreadyRunning, "an uninstaller during the installation");
  resumeProcess(program);

  expectFinishedPage(first, true);
  finishAndEnd(first);
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));
  checkUninstallRegistration(route, expectedInstallation(run.payloadTree(), route));
  check(!runJournal(), "the journal is gone");
}
