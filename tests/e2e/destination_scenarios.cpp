// Destinations that cannot take an installation, found before anything
// changes, and drives that go away while a run or its settlement needs them:
// nothing is recorded that cannot be settled, and what cannot be seen is
// never taken for gone. Scenarios named *drive* get drive X:, which they
// unplug and plug back in, and drive Q:, which is not there (run-scenario.sh).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "journal_view.h"
#include "machine_snapshot.h"
#include "next_run.h"
#include "prefix_seed.h"
#include "registry_view.h"
#include "removable_drive.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "throttle.h"
#include "tree_walk.h"
#include "wizard_steps.h"

namespace {

const char kFilesFailed[] = "An error occurred while installing the files.\nThe installer will now close.\n";
const char kDriveMissing[] = "Its drive is not there.  Connect the drive, then run the installer again.";
const char kNotLocal[] = "It is not a folder on a drive of this computer.";
const std::string kRemovableSimulator = std::string(kRemovableDrive) + "Flight Simulator 9\\";

// `message` ends with `ending`, or the check fails showing it.
void checkEndsWith(const std::string& message, const std::string& ending, const std::string& what) {
  check(message.size() > ending.size() && message.compare(message.size() - ending.size(), ending.size(), ending) == 0,
        what + ": " + message);
}

// What a settlement says of the drives it could not reach.
std::string drivesMissing(const std::string& drives) {
  return "\n\nThese drives cannot be reached now: " + drives + "\nConnect them before you run the installer again.";
}

// The longest of the paths the program files would get in `programDir`, the
// first of them in the payload's order.
std::string longestProgramFile(const ScenarioRun& run, const std::string& programDir) {
  std::string longest;
  for (const std::string& file : filesBelow(withBackslash(run.payloadTree()) + "ks")) {
    if (programDir.size() + file.size() > longest.size()) longest = programDir + file;
  }
  return longest;
}

// A reinstall onto the simulator on drive X:, held at a point of its own
// choosing: once the run has begun, another program takes hold of the
// simulator's main module there, so that the run stops at its question with
// the transponder and the shared module replaced (their earlier files kept
// aside on X:) and the main module not yet. `holder` holds it.
UiDriver& reinstallAskingAboutTheMainModule(ScenarioRun& run, std::unique_ptr<HeldOpen>& holder) {
  UiDriver& setup = walkToTheLastPage(run);
  setup.clickAndRunUntil(IDC_NEXT, "the run has begun", [] { return runJournal().has_value(); });
  holder = std::make_unique<HeldOpen>(kRemovableSimulator + "modules\\ksmod9.dll");
  resumeProcess(setup.process().handle());
  setup.waitForDialog(kCancelCaption);
  check(holdsKeptCopy(kRemovableSimulator + "modules"), "earlier files on drive X: are kept aside");
  return setup;
}

// The Windows error of opening `path` as the program does to rename it.
DWORD errorOpeningForRenaming(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  const DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return file == INVALID_HANDLE_VALUE ? error : ERROR_SUCCESS;
}

// The last file the reinstall writes to the simulator's folder: the first
// that a settlement takes back.
std::string lastSimulatorFile(const ScenarioRun& run) {
  const ExpectedInstallation expected =
      expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kRemovableSimulator});
  return expected.files.back().installed;
}

}  // namespace

// A simulator registered on a drive that is not there, or on a network share:
// the type page names it and why, and counts it as no simulator; nothing changes.
SCENARIO(drive_missing_or_network_simulator_named_on_the_type_page) {
  const struct {
    std::string folder;
    const char* why;
  } cases[] = {
      {std::string(kUnreadableDrive) + "Flight Simulator 9\\", kDriveMissing},
      {"\\\\server\\games\\Flight Simulator 9\\", kNotLocal},
  };
  for (const auto& c : cases) {
    check(seedMachineValue(kFs2004Key, kSimulatorFolderValue, registryText(c.folder)), "the simulator is registered");
    const MachineSnapshot before = takeMachineSnapshot();
    UiDriver& setup = run.startSetup();
    goToTypePage(setup, run.setupProgram());
    setup.click(IDC_NEXT);
    setup.answerMessageBox(kErrorCaption,
                           "Microsoft Flight Simulator 2004 is registered in a folder that Kestrel cannot be "
                           "installed in:\n" +
                               c.folder + "\n\n" + c.why,
                           IDOK);
    setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
    checkEqual(static_cast<long long>(setup.visibleWindowCount()), 1, "windows besides the wizard");
    cancelAndConfirm(setup);
    checkSameMachine(before);
  }
}

// A program directory on a drive that is not there, or one whose files would
// get paths longer than Windows takes: refused before anything changes, with
// the folder and why, and the longest path.
SCENARIO(drive_missing_or_too_long_program_dir_refused_before_anything_changes) {
  seedSimulator(Simulator::Fs2004);
  std::string longDir = "C:\\Kestrel\\";
  while (longDir.size() < 236) longDir += "Long folder name\\";
  const struct {
    std::string programDir;
    std::string why;
  } cases[] = {
      {std::string(kUnreadableDrive) + "Kestrel 3\\", kDriveMissing},
      {longDir, "A file installed there would have a longer path than Windows allows:\n" +
                    longestProgramFile(run, longDir)},
  };
  for (const auto& c : cases) {
    seedProgramDirSetting(c.programDir);
    const MachineSnapshot before = takeMachineSnapshot();
    UiDriver& setup = walkToTheLastPage(run, c.programDir);
    setup.click(IDC_NEXT);
    expectFailureAndEnd(setup, destinationRefused(c.programDir, c.why), kExitRefused);
    check(!runJournal(), "no journal was begun");
    checkSameMachine(before);
  }
}

// A program directory of 260 characters (the longest "KSDir" that the page
// reads, and its backslash), below which no file's path would be one that
// Windows' ANSI functions accept: refused before anything changes, as
// Windows' own limits would refuse it half-way.
SCENARIO(strict_windows_long_program_dir_refused_before_anything_changes) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const std::string parent = "C:\\Flight Simulator Add-ons\\";
  const std::string setting = parent + std::string(259 - parent.size(), 'k');
  seedProgramDirSetting(setting);
  const std::string directory = setting + "\\";
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = walkToTheLastPage(run, directory);
  setup.click(IDC_NEXT);
  expectFailureAndEnd(setup,
                      destinationRefused(directory, "A file installed there would have a longer path than Windows "
                                                    "allows:\n" + longestProgramFile(run, directory)),
                      kExitRefused);
  check(!runJournal(), "no journal was begun");
  checkSameMachine(before);
}

// The drive of the simulator goes away during a reinstall: the run fails
// there, takes back what it can reach, names what it cannot and the drive,
// and keeps its journal; with the drive back, the next run of the setup
// program puts the earlier installation back byte for byte.
SCENARIO(drive_removed_during_a_reinstall) {
  seedSimulatorAt(Simulator::Fs2004, kRemovableSimulator);
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot earlier = takeMachineSnapshot();
  {
    std::unique_ptr<HeldOpen> holder;
    UiDriver& setup = reinstallAskingAboutTheMainModule(run, holder);
    unplugRemovableDrive();
    holder.reset();
    const std::string module = kRemovableSimulator + "modules\\ksmod9.dll";
    const DWORD refused = errorOpeningForRenaming(module);
    answerFilesInUse(setup, module, IDRETRY);
    const std::string message = UiDriver::messageText(setup.waitForDialog(kErrorCaption));
    const std::string failed =
        kFilesFailed + std::string("(3)") +
        failureDetail(module, refused, "MoveFileExA",
                      refused == ERROR_FILE_NOT_FOUND ? FailureSite::EarlierFileGone : FailureSite::RenameAside) +
        "\n\nThese could not be put back as they were:\n" + lastSimulatorFile(run) + " (Windows error ";
    checkEqual(message.substr(0, failed.size()), failed, "the message names what failed and what stays on drive X:");
    const std::string ending = drivesMissing(kRemovableDrive) +
                               "\n\nClose the programs that may be using them, then run the installer again: it "
                               "puts them back first.";
    checkEndsWith(message, ending, "the message names the drive that cannot be reached");
    expectFailureAndEnd(setup, message, kExitNotTakenBack);
  }
  check(runJournal().has_value(), "the journal stays for the next run");
  plugRemovableDriveBackIn();
  cancelAndConfirm(expectSettledByTheNextRun(run, earlier));
  checkInstalledFiles(expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kRemovableSimulator}));
}

// A reinstall onto the simulator's drive is ended from outside part-way, and
// the drive is away when the next run settles it: that run names the drive,
// keeps the journal and changes nothing there; with the drive back, the run
// after it puts the earlier installation back byte for byte.
SCENARIO(drive_missing_while_an_interrupted_reinstall_is_settled) {
  seedSimulatorAt(Simulator::Fs2004, kRemovableSimulator);
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot earlier = takeMachineSnapshot();
  {
    std::unique_ptr<HeldOpen> holder;
    reinstallAskingAboutTheMainModule(run, holder).endFromOutside();
  }
  unplugRemovableDrive();
  {
    UiDriver& next = run.startSetup();
    const std::string message = UiDriver::messageText(next.waitForDialog(kErrorCaption));
    const std::string opening =
        "An earlier run of the installer or the uninstaller was interrupted, and not all of it could be settled:\n" +
        lastSimulatorFile(run) + " (Windows error ";
    checkEqual(message.substr(0, opening.size()), opening, "the message names what stays on drive X:");
    const std::string ending = drivesMissing(kRemovableDrive) +
                               "\n\nClose the programs that may be using them, then run the installer again.\n"
                               "The installer will now close.";
    checkEndsWith(message, ending, "the message names the drive that cannot be reached");
    expectFailureAndEnd(next, message, kExitNotTakenBack);
  }
  check(runJournal().has_value(), "the journal stays for the next run");
  plugRemovableDriveBackIn();
  cancelAndConfirm(expectSettledByTheNextRun(run, earlier));
  checkInstalledFiles(expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kRemovableSimulator}));
}
