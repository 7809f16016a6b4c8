// An installation that is refused before it begins, or that fails or is ended
// part-way, leaves the machine as it was: every file and folder of drive C and
// of the small drive, every registry value below HKEY_LOCAL_MACHINE\Software,
// and an earlier installation with its registration.
#include <windows.h>

#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "journal_view.h"
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
const char kSmallDriveProgramDir[] = "E:\\Kestrel 3\\";

// The files of `expected` below `folder` that the journal does not record as
// replaced, with their earlier content kept aside beside them.
std::vector<std::string> notReplaced(const ExpectedInstallation& expected, const std::string& folder,
                                     const std::vector<JournalRecord>& journal) {
  std::vector<std::string> missing;
  for (const ExpectedFile& file : expected.files) {
    if (file.installed.compare(0, folder.size(), folder) != 0) continue;
    bool replaced = false;
    for (const JournalRecord& record : journal)
      replaced = replaced || (record.kind == JournalRecordKind::FileReplaced && record.path == file.installed &&
                              pathExists(record.keptCopy));
    if (!replaced) missing.push_back(file.installed);
  }
  return missing;
}

// The room that the files of `expected` below `folder` take on their
// volume, each in whole clusters of `cluster` bytes (1: their bytes alone).
ULONGLONG roomBelow(const ExpectedInstallation& expected, const std::string& folder, ULONGLONG cluster) {
  ULONGLONG room = 0;
  for (const ExpectedFile& file : expected.files) {
    if (file.installed.compare(0, folder.size(), folder) == 0)
      room += (requiredFileBytes(file.source).size() + cluster - 1) / cluster * cluster;
  }
  return room;
}

std::string kilobytes(ULONGLONG bytes) { return std::to_string((bytes + 1023) / 1024); }

}  // namespace

// The room check adds up what goes to each volume, each file in whole
// clusters, before anything is written: with half the room on the small drive
// that the simulator's files or the program files need there, or with both
// there and one cluster less room than both need, though each would fit
// alone, the message names the first folder on the small drive and the room
// needed there to the kilobyte.
SCENARIO(small_drive_refused_up_front) {
  const struct {
    std::string simulator, programDir;
    std::string fullFolder;
    bool oneClusterShort;  // else half the room
  } cases[] = {
      {kSmallDriveSimulator, defaultProgramDir(), kSmallDriveSimulator, false},
      {kFs2004Folder, kSmallDriveProgramDir, kSmallDriveProgramDir, false},
      {kSmallDriveSimulator, kSmallDriveProgramDir, kSmallDriveProgramDir, true},
  };
  const ULONGLONG cluster = smallDriveClusterBytes();
  for (const auto& c : cases) {
    seedSimulatorAt(Simulator::Fs2004, c.simulator);
    seedProgramDirSetting(c.programDir);
    const ExpectedInstallation expected =
        expectedInstallation(run.payloadTree(), Route{c.programDir, true, "", c.simulator});
    const ULONGLONG needed = roomBelow(expected, kSmallDrive, cluster);
    check(kilobytes(needed) != kilobytes(roomBelow(expected, kSmallDrive, 1)),
          "the files take more room in whole clusters than their bytes alone");
    leaveFreeOnSmallDrive(c.oneClusterShort ? needed - cluster : needed / 2);
    if (c.oneClusterShort) {
      const ULONGLONG free = smallDriveFreeBytes();
      check(roomBelow(expected, c.programDir, cluster) <= free && roomBelow(expected, c.simulator, cluster) <= free,
            "the program files and the simulator's would each fit on the small drive alone");
    }
    const MachineSnapshot before = takeMachineSnapshot();

    UiDriver& setup = walkToTheLastPage(run, c.programDir);
    setup.click(IDC_NEXT);
    const std::string message = "There is not enough free space to install Kestrel.\n\nFolder: " + c.fullFolder +
                                "\nSpace needed: " + kilobytes(needed) + " KB\nSpace free: " +
                                std::to_string(smallDriveFreeBytes() / 1024) +
                                " KB\n\nNothing has been changed.  The installer will now close.";
    check(needed > smallDriveFreeBytes(), "more room is needed than is free");
    expectFailureAndEnd(setup, message, kExitRefused);
    checkSameMachine(before);
    emptySmallDrive();
  }
}

// The drive fills up after the room check, once the program files are being
// written and before the simulator's are: everything the run did is taken
// back.
SCENARIO(small_drive_fills_during_installation) {
  seedSimulatorAt(Simulator::Fs2004, kSmallDriveSimulator);
  const MachineSnapshot before = takeMachineSnapshot();
  UiDriver& setup = walkToTheLastPage(run);
  const HANDLE program = setup.process().handle();
  setup.clickAndRunUntil(IDC_NEXT, "the program files are being written",
                         [] { return !filesBelow(defaultProgramDir()).empty(); });
  check(runJournal().has_value(), "the room check has passed: the run is under way");
  const std::vector<std::string> onSmallDrive = entriesBelow(kSmallDriveSimulator);
  check(onSmallDrive == seededSimulatorEntries(),
        "nothing is written to the small drive yet; its simulator folder holds:" + listed(onSmallDrive));
  leaveFreeOnSmallDrive(0);
  resumeProcess(program);
  expectFailureAndEnd(setup, kFilesFailed + "(9)" +
                                 failureDetail(std::string(kSmallDriveSimulator) + "modules\\kstrans9.dll", ERROR_DISK_FULL,
                                               "WriteFile", FailureSite::Write));
  checkNoUninstallRegistration();
  emptySmallDrive();
  checkSameMachine(before);
}

// A reinstall that ends part-way, after it replaced the program files (a
// module another program took hold of, and the user cancelled): the earlier
// installation is as it was, and its uninstall removes it.
SCENARIO(failed_reinstall_keeps_the_earlier_installation) {
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const MachineSnapshot installed = takeMachineSnapshot();

  UiDriver& setup = walkToTheLastPage(run);
  const HANDLE program = setup.process().handle();
  const std::string held = simulatorFolder(Simulator::Fs2004) + "modules\\ksmod9.dll";
  setup.clickAndRunUntil(IDC_NEXT, "the program files are being replaced", [] { return holdsKeptCopy(defaultProgramDir()); });
  {
    HeldOpen simulatorStarted(held);
    resumeProcess(program);
    // The run waits for the answer: the files it replaced so far are there,
    // each program file among them, its earlier content kept aside.
    setup.waitForDialog(kCancelCaption);
    const auto journal = runJournal();
    check(journal.has_value(), "the run that asks has a journal");
    const std::vector<std::string> programFiles =
        notReplaced(expectedInstallation(run.payloadTree(), route), defaultProgramDir(), *journal);
    check(programFiles.empty(), "every program file was replaced before the module; not " +
                                    (programFiles.empty() ? std::string() : programFiles.front()));
    answerFilesInUse(setup, held, IDCANCEL);
  }
  checkSameMachine(installed);
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));

  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}
