// Files another program holds (a running simulator holds its modules): the
// user is told which, closes the program and retries, or cancels; nothing
// is lost either way.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "throttle.h"
#include "uninstaller_steps.h"
#include "window_text.h"
#include "wizard_steps.h"

namespace {

std::string module(const char* name) { return simulatorFolder(Simulator::Fs2004) + "modules\\" + name; }

Route defaultRoute() { return Route{defaultProgramDir(), true, "", kFs2004Folder}; }

long long barPosition(UiDriver& setup) {
  return static_cast<long long>(windowAnswer(setup.pageControl(kProgressPage, IDC_PROGRESS_BAR), PBM_GETPOS));
}


}  // namespace

// An earlier module held open: before anything changes, the user is told,
// and either closes the program and retries, and the installation goes
// through, or cancels, and the machine is as it was.
SCENARIO(held_module_named_before_anything_changes) {
  seedSimulator(Simulator::Fs2004);
  writeBytes(module("ksmod9.dll"), "an earlier ksmod9.dll");
  for (int answer : {IDCANCEL, IDRETRY}) {
    const MachineSnapshot before = takeMachineSnapshot();
    auto simulatorRunning = std::make_unique<HeldOpen>(module("ksmod9.dll"));
    UiDriver& setup = walkToTheLastPage(run);
    setup.click(IDC_NEXT);
    setup.waitForDialog(kCancelCaption);
    checkEqual(barPosition(setup), 0, "the progress bar before the prompt");
    checkSameMachine(before);
    simulatorRunning.reset();
    answerFilesInUse(setup, module("ksmod9.dll"), answer);
    if (answer == IDCANCEL) {
      checkSameMachine(before);
      checkEqual(requiredFileBytes(module("ksmod9.dll")), "an earlier ksmod9.dll", "the module held open");
    } else {
      expectFinishedPage(setup, true);
      finishAndEnd(setup);
      checkInstalledFiles(expectedInstallation(run.payloadTree(), defaultRoute()));
    }
  }
}

// A module that another program takes hold of once the reinstall is under
// way: the user is asked then, and Retry finishes the installation.
SCENARIO(module_held_during_the_run_retried) {
  seedSimulator(Simulator::Fs2004);
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  UiDriver& setup = walkToTheLastPage(run);
  const HANDLE program = setup.process().handle();
  setup.clickAndRunUntil(IDC_NEXT, "the earlier program files are being replaced",
                         [] { return holdsKeptCopy(defaultProgramDir()); });
  {
    HeldOpen simulatorStarted(module("ksmod9.dll"));
    resumeProcess(program);
    setup.waitForDialog(kCancelCaption);
  }
  answerFilesInUse(setup, module("ksmod9.dll"), IDRETRY);
  expectFinishedPage(setup, true);
  finishAndEnd(setup);
  checkInstalledFiles(expectedInstallation(run.payloadTree(), defaultRoute()));
}

// The uninstaller meets a program file that another program holds: it asks,
// the user closes that program and retries, and everything goes.
SCENARIO(uninstall_retries_a_held_file) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const std::string program = defaultProgramDir() + "kestrel.exe";
  auto running = std::make_unique<HeldOpen>(program);
  Uninstall uninstall = startUninstall(run, uninstallCommandLine());
  UiDriver& copy = uninstall.copy;
  checkEqual(UiDriver::messageText(copy.waitForDialog(kUninstallerCaption)), fileInUseQuestion(program),
             "the working copy's prompt");
  running.reset();
  copy.answerDialog(kUninstallerCaption, IDRETRY);
  checkEqual(closeReport(uninstall), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}
