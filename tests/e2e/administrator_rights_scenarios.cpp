// A user who is no administrator (a limited account on XP, or anyone with
// UAC turned off): both programs say so before anything else and change
// nothing, instead of failing half-way with "Access is denied".
#include <string>

#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

const char kSetupRefuses[] =
    "Only an administrator of this computer can install Kestrel.\n\n"
    "Log on as an administrator, or start the installer as one, then try again.  Nothing has been changed.";
const char kUninstallerRefuses[] =
    "Only an administrator of this computer can remove Kestrel.\n\n"
    "Log on as an administrator, or start the uninstaller as one, then try again. Nothing has been removed.";

// The refusal, answered, shown by `shows` (the program started, or the
// working copy it started); `started` then ends with `exitCode`, leaving no
// window.
void expectRefusal(UiDriver& shows, UiDriver& started, const std::string& caption, const std::string& text,
                   int exitCode) {
  shows.answerMessageBox(caption, text, IDOK);
  started.expectExit(exitCode, "without administrator rights");
  checkEqual(static_cast<long long>(started.visibleWindowCount()), 0, "windows left");
}

}  // namespace

SCENARIO(refused_without_administrator_rights) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = run.startCommandLine('"' + run.setupProgram() + '"', "", Handles::Own, Rights::NoAdministrator);
  expectRefusal(setup, setup, kErrorCaption, kSetupRefuses, kExitNotAdministrator);
  checkSameMachine(before);

  // Where the setup program runs from a working copy, the copy refuses (or,
  // where a limited account cannot make one, the program itself); the
  // program started ends with the same code, and the copy is gone.
  UiDriver& older = run.startCommandLine('"' + run.testFile("older_windows\\ks3setup.exe") + '"', "",
                                         Handles::Own, Rights::NoAdministrator);
  UiDriver& refusing = run.attachToWindow(kErrorCaption);
  expectRefusal(refusing, older, kErrorCaption, kSetupRefuses, kExitNotAdministrator);
  if (refusing.process().processId() != older.process().processId())
    refusing.expectExit(kExitNotAdministrator, "of the working copy without administrator rights");
  checkSameMachine(before);

  // Installed by an administrator, and not removed by another user.
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot installed = takeMachineSnapshot();
  UiDriver& uninstaller = run.startCommandLine(uninstallCommandLine(), "", Handles::Own, Rights::NoAdministrator);
  expectRefusal(uninstaller, uninstaller, kUninstallerErrorCaption, kUninstallerRefuses, kUninstallNotAdministrator);
  checkSameMachine(installed);
}
