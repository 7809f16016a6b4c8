// Files held by another program, as Windows holds them: a module that the
// running simulator has loaded, and the uninstaller's own file. Windows maps
// such a file: it may be renamed, but deleting it is refused as access
// denied, not as a sharing violation.
#include <windows.h>

#include <string>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "removable_drive.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "uninstaller_steps.h"
#include "windows_says.h"
#include "wizard_steps.h"

namespace {

// What the working copy reports when `path` stayed because of `error`: the
// uninstall information kept, for a later run to finish the job.
std::string notRemovedReport(const std::string& path, unsigned long error) {
  return "These items could not be removed:\n" + path + " (Windows error " + std::to_string(error) + ")\n" +
         windowsSays(error) +
         "\n\nThe uninstall information of Kestrel 3 has been kept. Close any program that may be using them, "
         "then run the uninstaller again to finish.";
}

// A complete uninstall's report, with whatever it adds of a restart.
void checkRemoved(const std::string& report) {
  check(report.compare(0, kUninstalledReport.size(), kUninstalledReport) == 0,
        "the report says that Kestrel 3 has been removed: " + report);
}

}  // namespace

// A module that the running simulator has loaded: the working copy asks about
// it as about any file in use. Cancel keeps it and the registration, so that
// the uninstaller run again once the simulator has ended finishes the job;
// Retry once the simulator has ended removes everything.
SCENARIO(strict_windows_uninstall_asks_about_a_loaded_module) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  const std::string module = simulatorFolder(Simulator::Fs2004) + "modules\\ksmod9.dll";
  for (int answer : {IDCANCEL, IDRETRY}) {
    installAs(run, IDC_TYPE_ONE_COMPUTER);
    const std::string installed = requiredFileBytes(module);
    LoadedModule simulator(module);
    Uninstall uninstall = startUninstall(run, uninstallCommandLine());
    checkEqual(nextMessage(uninstall.copy), captionAndText(kUninstallerCaption, fileInUseQuestion(module)),
               "the working copy's first message");
    if (answer == IDRETRY) {
      simulator.unload();
      uninstall.copy.answerDialog(kUninstallerCaption, IDRETRY);
      checkRemoved(closeReport(uninstall));
    } else {
      uninstall.copy.answerDialog(kUninstallerCaption, IDCANCEL);
      checkEqual(closeReport(uninstall, kUninstallIncomplete), notRemovedReport(module, ERROR_ACCESS_DENIED),
                 "the report after Cancel");
      checkEqual(requiredFileBytes(module), installed, "the module that the simulator had loaded");
      const std::string uninstaller = defaultProgramDir() + "ksuninstall.exe";
      check(pathExists(uninstaller) && uninstallCommandLine().find(uninstaller) != std::string::npos,
            "the registration is kept with its uninstaller");
      simulator.unload();
      Uninstall again = startUninstall(run, uninstallCommandLine());
      checkRemoved(closeReport(again));
    }
    restartWindows();
    checkSameMachine(before, isSharedModule);
  }
}

// The uninstaller's own file on another drive than the Windows folder, also
// loaded by another program (a viewer of its version): Windows renames it but
// does not delete it while the uninstaller that was started waits with it
// loaded, and it cannot join the working copy's folder across volumes. So it
// is renamed aside and deleted at the next restart, with its folder, and the
// report says so; everything else goes, the registration with it.
SCENARIO(strict_windows_uninstallers_own_file_on_another_drive_goes_at_the_next_restart) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  const std::string programDir = std::string(kRemovableDrive) + "Kestrel3\\";
  seedProgramDirSetting(programDir);  // what the page proposes
  installAs(run, IDC_TYPE_ONE_COMPUTER, programDir);
  const std::string own = programDir + "ksuninstall.exe";
  LoadedModule otherRun(own);
  Uninstall uninstall = startUninstall(run, uninstallCommandLine());
  checkEqual(nextMessage(uninstall.copy),
             captionAndText(kUninstallReportCaption,
                            kUninstalledReport + "\n\nThese files are removed when Windows next restarts:\n" + own),
             "the report");
  closeReport(uninstall, kUninstallDone);
  check(!pathExists(own), "the uninstaller's file is renamed aside until the restart");
  checkNoUninstallRegistration();
  otherRun.unload();
  restartWindows();
  check(!pathExists(programDir), "the program directory goes at the restart");
  checkSameMachine(before, isSharedModule);
}
