// An installation that is refused before it begins, or that fails or is ended
// part-way, leaves the machine as it was: every file and folder of drive C and
// of the small drive, every registry value below HKEY_LOCAL_MACHINE\Software,
// and an earlier installation with its registration.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "small_drive.h"
#include "throttle.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

const std::string kFilesFailed = "An error occurred while installing the files.\nThe installer will now close.\n";
const char kSmallDriveSimulator[] = "E:\\Flight Simulator 9\\";

// The default installation while `module` of the simulator is held open: it
// fails with the code for a file that cannot be put in place.
void installWhileHeld(ScenarioRun& run, const std::string& module) {
  HeldOpen simulatorRunning(simulatorFolder(Simulator::Fs2004) + "modules\\" + module);
  UiDriver& setup = walkToTheLastPage(run);
  setup.click(IDC_NEXT);
  expectFailureAndEnd(setup, kFilesFailed + "(3)");
}

// The whole number after `label` in `text`, or -1.
long long numberAfter(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + label.size());
}

// Whether a folder holds a file that the payload's folder does not: what the
// installation keeps aside while it runs.
bool holdsMoreThan(const std::string& folder, const std::string& payloadFolder) {
  const std::vector<std::string> payload = filesBelow(payloadFolder);
  for (const std::string& file : filesBelow(folder))
    if (std::find(payload.begin(), payload.end(), file) == payload.end()) return true;
  return false;
}

}  // namespace

// Half the room the simulator's files or the program files need: the room
// check says so before anything is written.
SCENARIO(small_drive_refused_up_front) {
  const struct {
    const char* payloadPart;
    std::string simulator, programDir;  // one of them on the small drive
    std::string fullFolder;
  } cases[] = {
      {"fs", kSmallDriveSimulator, defaultProgramDir(), kSmallDriveSimulator},
      {"ks", kFs2004Folder, "E:\\Kestrel 3\\", "E:\\Kestrel 3\\"},
  };
  for (const auto& c : cases) {
    seedSimulatorAt(Simulator::Fs2004, c.simulator);
    seedProgramDirSetting(c.programDir);
    leaveFreeOnSmallDrive(bytesBelow(withBackslash(run.payloadTree()) + c.payloadPart) / 2);
    const MachineSnapshot before = takeMachineSnapshot();

    UiDriver& setup = walkToTheLastPage(run, c.programDir);
    setup.click(IDC_NEXT);
    const std::string message = UiDriver::messageText(setup.waitForDialog(kErrorCaption));
    const long long needed = numberAfter(message, "Space needed: "), free = numberAfter(message, "Space free: ");
    checkEqual(message,
               "There is not enough free space to install Kestrel.\n\nFolder: " + c.fullFolder +
                   "\nSpace needed: " + std::to_string(needed) + " KB\nSpace free: " + std::to_string(free) +
                   " KB\n\nNothing has been changed.  The installer will now close.",
               "the message");
    checkEqual(free, static_cast<long long>(smallDriveFreeBytes() / 1024), "the free space named");
    check(needed > free, "more space is needed than is free");
    expectFailureAndEnd(setup, message, kExitRefused);
    checkSameMachine(before);
    emptySmallDrive();
  }
}

// The drive fills up after the room check, once the program files are being
// written: everything the run did is taken back.
SCENARIO(small_drive_fills_during_installation) {
  seedSimulatorAt(Simulator::Fs2004, kSmallDriveSimulator);
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = walkToTheLastPage(run);
  {
    const HANDLE program = setup.process().handle();
    Throttle slow(program);
    setup.click(IDC_NEXT);
    waitUntil("the program files are being written", [] { return !filesBelow(defaultProgramDir()).empty(); });
    suspendProcess(program);
    leaveFreeOnSmallDrive(0);
    resumeProcess(program);
  }
  expectFailureAndEnd(setup, kFilesFailed + "(9)");
  checkNoUninstallRegistration();
  emptySmallDrive();
  checkSameMachine(before);
}

// A module held open: the installation fails, and the earlier file that it
// was to replace keeps its content.
SCENARIO(module_in_use_changes_nothing) {
  seedSimulator(Simulator::Fs2004);
  const std::string module = simulatorFolder(Simulator::Fs2004) + "modules\\ksmod9.dll";
  writeBytes(module, "an earlier ksmod9.dll");
  const MachineSnapshot before = takeMachineSnapshot();
  installWhileHeld(run, "ksmod9.dll");
  checkNoUninstallRegistration();
  checkSameMachine(before);
  checkEqual(requiredFileBytes(module), "an earlier ksmod9.dll", "the module held open");
}

// A reinstall that fails part-way, after it replaced the program files:
// the earlier installation is as it was, and its uninstall removes it.
SCENARIO(failed_reinstall_keeps_the_earlier_installation) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot installed = takeMachineSnapshot();

  installWhileHeld(run, "ksmod9.dll");
  checkSameMachine(installed);
  checkInstalledFiles(expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kFs2004Folder}));

  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}

// A reinstall ended from outside while it replaced the simulator's files,
// then run again to its end: one uninstall removes everything.
SCENARIO(killed_reinstall_then_completed) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);

  UiDriver& setup = walkToTheLastPage(run);
  {
    Throttle slow(setup.process().handle());
    setup.click(IDC_NEXT);
    const std::string aircraft = simulatorFolder(Simulator::Fs2004) + "aircraft";
    const std::string payloadAircraft = withBackslash(run.payloadTree()) + "fs\\aircraft";
    waitUntil("the aircraft are being replaced", [&] { return holdsMoreThan(aircraft, payloadAircraft); });
    setup.process().terminate();
  }
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}
