// An installation ended from outside at any point (Task Manager, a logoff, a
// power cut), or one whose taking back cannot finish, loses nothing: the next
// run of the setup program puts the machine back as it was before the run,
// and what is installed afterwards is removed by one uninstall.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
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
#include "resource_ids.h"
#include "scenario.h"
#include "temporary_file_name.h"
#include "throttle.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

const std::string kFilesFailed = "An error occurred while installing the files.\nThe installer will now close.\n(3)";
const char kElsewhere[] = "C:\\Programme\\Kestrel 3\\";
// Enough events in an earlier registration for its merge to take a while.
const DWORD kLargeRegistration = 3000;

std::string programFile(const std::string& name) { return defaultProgramDir() + name; }
std::string simulatorFile(const std::string& name) { return simulatorFolder(Simulator::Fs2004) + name; }

std::string fileName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// The program files in place so far: neither a file being written nor an
// earlier one kept aside.
size_t placedProgramFiles() {
  size_t placed = 0;
  for (const std::string& file : filesBelow(defaultProgramDir()))
    placed += !Escort::isTemporaryFileName(fileName(file)) && !Escort::isKeptCopyName(fileName(file));
  return placed;
}


DWORD registeredEvents() {
  const auto count = readMachineValue(kRegistrationKey, "EscortEvents");
  DWORD n = 0;
  if (count && count->type == REG_DWORD) std::memcpy(&n, count->data.data(), sizeof n);
  return n;
}

// The registration of an installation elsewhere, of many files: this run
// merges it, and the commit takes long enough to be cut off.
void seedLargeRegistration() {
  check(seedMachineValue(kRegistrationKey, "DisplayName", registryText("Kestrel 3")) &&
            seedMachineValue(kRegistrationKey, "UninstallString",
                             registryText("\"C:\\Old Kestrel\\ksuninstall.exe\" Kestrel 3")) &&
            seedMachineValue(kRegistrationKey, "EscortDescription", registryText("")),
        "an earlier registration is seeded");
  for (DWORD n = 0; n < kLargeRegistration; ++n) {
    const std::string number = std::to_string(n);
    check(seedMachineValue(kRegistrationKey, "EscortTag" + number, registryText("DeleteFile")) &&
              seedMachineValue(kRegistrationKey, "EscortParams" + number,
                               registryText("C:\\Old Kestrel\\file" + number + ".txt")) &&
              seedMachineValue(kRegistrationKey, "EscortDesc" + number, registryText("Deleting old files")),
          "an earlier event is seeded");
  }
  check(seedMachineValue(kRegistrationKey, "EscortEvents", registryDword(kLargeRegistration)), "the count is seeded");
}

enum class Earlier { Nothing, Installation, LargeRegistration };

struct KillPoint {
  const char* where;
  Earlier earlier;
  std::function<bool()> reached;  // looked at while the run is held
  int nextType;                   // what the run after it installs
  std::string nextProgramDir;
};

// Those of `changes` to the registration.
std::vector<std::string> registrationChanges(const std::vector<std::string>& changes) {
  std::vector<std::string> registration;
  for (const std::string& change : changes)
    if (change.find(kRegistrationKey) != std::string::npos) registration.push_back(change);
  return registration;
}

// Ends the default installation from outside where `point` says, once it is
// there for sure, and checks what the run had done by then: it was under way,
// its journal recorded every change it had made to the machine since
// `earlier`, and before the commit the earlier registration was untouched.
void installAndKill(ScenarioRun& run, const KillPoint& point, const MachineSnapshot& earlier) {
  UiDriver& setup = walkToTheLastPage(run);
  setup.clickAndRunUntil(IDC_NEXT, point.where, point.reached);
  const auto journal = runJournal();
  check(journal && !journal->empty() && journal->back().kind != JournalRecordKind::Committed,
        std::string("the run was under way when ended ") + point.where);
  const std::vector<std::string> changes = snapshotDifferences(earlier, takeMachineSnapshot());
  const std::vector<std::string> unrecorded = changesNotInJournal(changes, *journal);
  check(unrecorded.empty(), std::string("the journal recorded every change made before the run was ended ") +
                                point.where + "; it did not record:" + listed(unrecorded));
  if (point.earlier != Earlier::LargeRegistration) {
    const std::vector<std::string> changed = registrationChanges(changes);
    check(changed.empty(), std::string("the registration was as before when the run was ended ") + point.where +
                               "; changed:" + listed(changed));
  }
  setup.endFromOutside();
}

// The next run of the setup program takes the ended one back before its
// first page: the machine is as `expected` was, with no journal left. Returns
// that run, at its welcome page.
UiDriver& checkTakenBackByTheNextRun(ScenarioRun& run, const MachineSnapshot& expected, Earlier earlier) {
  UiDriver& next = expectSettledByTheNextRun(run, expected);
  if (earlier == Earlier::Installation)
    checkInstalledFiles(expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kFs2004Folder}));
  return next;
}

// Ends a run at each of `points` in turn, over the earlier state each names:
// the next run puts everything back (the earlier installation byte for byte)
// before its first page, then installs, of another type or elsewhere, and
// one uninstall leaves nothing but the shared module.
void killAtEach(ScenarioRun& run, const std::vector<KillPoint>& points) {
  for (const KillPoint& point : points) {
    const MachineSnapshot before = takeMachineSnapshot();
    if (point.earlier == Earlier::Installation) installAs(run, IDC_TYPE_ONE_COMPUTER);
    if (point.earlier == Earlier::LargeRegistration) seedLargeRegistration();
    const MachineSnapshot earlier = takeMachineSnapshot();

    installAndKill(run, point, earlier);
    if (point.earlier == Earlier::LargeRegistration)
      check(readMachineValue(kRegistrationKey, "EscortParams" + std::to_string(kLargeRegistration - 1)) ==
                registryText("C:\\Old Kestrel\\file" + std::to_string(kLargeRegistration - 1) + ".txt"),
            "the commit was cut off before it had rewritten the earlier events");
    // The run that took it back installs, or, to be proposed another
    // directory by an earlier setting, is cancelled for one that reads it.
    UiDriver& next = checkTakenBackByTheNextRun(run, earlier, point.earlier);
    if (point.nextProgramDir.empty()) {
      installWith(next, run.setupProgram(), point.nextType);
    } else {
      cancelAndConfirm(next);
      seedProgramDirSetting(point.nextProgramDir);
      installAs(run, point.nextType, point.nextProgramDir);
    }
    checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport,
               std::string("the uninstaller's report after a run ended ") + point.where);
    restartWindows();
    checkSameMachine(before, isSharedModule);
  }
}

}  // namespace

// Ended at every stage of a fresh installation.
SCENARIO(killed_at_every_stage) {
  seedSimulator(Simulator::Fs2004);
  const size_t programFiles = filesBelow(withBackslash(run.payloadTree()) + "ks").size();
  killAtEach(run, {
      {"while the settings are written", Earlier::Nothing,
       [] { return readMachineValue(kSettingsKey, "KSDir").has_value(); }, IDC_TYPE_KESTREL_COMPUTER, ""},
      {"while the shortcuts are written", Earlier::Nothing,
       [] { return pathExists(startMenuFolder() + "Kestrel 3.lnk"); }, IDC_TYPE_SIMULATOR_COMPUTER, ""},
      {"early in the program files", Earlier::Nothing, [] { return placedProgramFiles() >= 1; },
       IDC_TYPE_ONE_COMPUTER, kElsewhere},
      {"half-way through the program files", Earlier::Nothing,
       [&] { return placedProgramFiles() >= programFiles / 2; }, IDC_TYPE_SIMULATOR_COMPUTER, ""},
      {"at the last program file", Earlier::Nothing, [&] { return placedProgramFiles() + 1 >= programFiles; },
       IDC_TYPE_KESTREL_COMPUTER, ""},
      {"in the simulator's modules", Earlier::Nothing, [] { return pathExists(simulatorFile("modules\\kstrans9.dll")); },
       IDC_TYPE_ONE_COMPUTER, kElsewhere},
      {"in the last aircraft", Earlier::Nothing, [] { return pathExists(simulatorFile("aircraft\\marlin")); },
       IDC_TYPE_KESTREL_COMPUTER, ""},
  });
}

// Ended at every stage of a reinstall, while it keeps the earlier files
// aside and while it merges a large earlier registration.
SCENARIO(killed_at_every_stage_of_a_reinstall) {
  seedSimulator(Simulator::Fs2004);
  killAtEach(run, {
      {"while earlier program files are kept aside", Earlier::Installation,
       [] { return holdsKeptCopy(defaultProgramDir()); }, IDC_TYPE_ONE_COMPUTER, kElsewhere},
      {"while earlier aircraft are kept aside", Earlier::Installation,
       [] { return holdsKeptCopy(simulatorFile("aircraft")); }, IDC_TYPE_SIMULATOR_COMPUTER, ""},
      // The merged count is written first: once it has changed, the rest is under way.
      {"during the commit", Earlier::LargeRegistration,
       [] { return registeredEvents() != kLargeRegistration && journalUnderWay(); },
       IDC_TYPE_KESTREL_COMPUTER, ""},
  });
}

// A reinstall fails (a folder stands where one of the last files goes) while
// a viewer holds a file it has just put in place: that one cannot be put back.
// The message names it, its earlier content stays kept aside, and once the
// viewer has let go, the next run of the setup program puts it back.
SCENARIO(failed_reinstall_that_cannot_be_taken_back_loses_nothing) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const std::string readme = programFile("readme.txt");
  writeBytes(readme, "the readme of an earlier version");
  const std::string blocked = simulatorFile("aircraft\\marlin\\readme.txt");
  check(DeleteFileA(blocked.c_str()) && CreateDirectoryA(blocked.c_str(), nullptr), "a folder stands in the way");
  const MachineSnapshot earlier = takeMachineSnapshot();
  const std::string newReadme = requiredFileBytes(withBackslash(run.payloadTree()) + "ks\\readme.txt");
  {
    UiDriver& setup = walkToTheLastPage(run);
    const HANDLE program = setup.process().handle();
    // Told by its size: opening it would be in the way of the program's renaming.
    // The program flushes what it wrote through handles of its own: the viewer
    // takes the file while none is open (the program stands still meanwhile).
    setup.clickAndRunUntil(IDC_NEXT, "the new readme is in place and let go of",
                           [&] { return fileSize(readme) == newReadme.size() && isOpenedByNoOne(readme); });
    HeldOpen viewer(readme);
    resumeProcess(program);
    // Wine refuses to put a file in the place of one held open without
    // sharing deletion with ERROR_ACCESS_DENIED.
    const DWORD refused = ERROR_ACCESS_DENIED;
    const std::string message =
        kFilesFailed + failureDetail(blocked, ERROR_ALREADY_EXISTS, "GetFileAttributesA", FailureSite::FolderInTheWay) +
        "\n\nThese could not be put back as they were:\n" + readme + " (Windows error " + std::to_string(refused) +
        ")\n" + windowsSays(refused) +
        "\n\nClose the programs that may be using them, then run the installer again: it puts them back first.";
    expectFailureAndEnd(setup, message, kExitNotTakenBack);
    const auto journal = runJournal();
    check(journal.has_value(), "the journal stays for the next run");
    std::string kept;
    for (const JournalRecord& record : *journal)
      if (record.kind == JournalRecordKind::FileReplaced && record.path == readme) kept = record.keptCopy;
    checkEqual(fileBytes(kept).value_or("(none)"), "the readme of an earlier version", "the earlier readme, kept aside");
  }
  cancelAndConfirm(checkTakenBackByTheNextRun(run, earlier, Earlier::Nothing));
  checkEqual(requiredFileBytes(readme), "the readme of an earlier version", "the readme put back");

  check(RemoveDirectoryA(blocked.c_str()) != FALSE, "the folder in the way goes");
  writeBytes(blocked, "the aircraft readme");
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}

namespace {

// Both simulators registered in one folder, through the version page's Both.
void seedBothSimulatorsInOneFolder() {
  seedSimulator(Simulator::Fs2004);
  check(seedMachineValue(kFs2002Key, kSimulatorFolderValue, registryText(kFs2004Folder)),
        "Flight Simulator 2002 is registered in 2004's folder");
}

UiDriver& walkToBothSimulators(ScenarioRun& run) {
  UiDriver& setup = walkToTheLastPage(run);
  setup.click(IDC_NEXT);
  expectVersionPage(setup);
  setup.setChecked(IDC_SIMULATOR_VERSION_BOTH, true);
  return setup;
}

const Route kBothInOneFolder{defaultProgramDir(), true, kFs2004Folder, kFs2004Folder};

// The shared module, which an uninstall leaves, or the uninstaller's working
// copy, which goes at the next restart.
bool isSharedModuleOrWorkingCopy(const std::string& entry) {
  return isSharedModule(entry) || entry.find("\\ksu-") != std::string::npos;
}

}  // namespace

// Both simulators registered in one folder: each file goes there once, and a
// run that fails part-way, or is ended from outside at its commit, is taken
// back whole; the one that succeeds is removed by one uninstall.
SCENARIO(both_simulators_in_one_folder_failed_killed_and_installed) {
  seedBothSimulatorsInOneFolder();
  const MachineSnapshot before = takeMachineSnapshot();
  {
    // A folder where the last aircraft file goes fails the run there.
    const std::string blocked = simulatorFile("aircraft\\marlin\\readme.txt");
    check(CreateDirectoryA(simulatorFile("aircraft\\marlin").c_str(), nullptr) &&
              CreateDirectoryA(blocked.c_str(), nullptr),
          "a folder stands in the way");
    const MachineSnapshot blockedBefore = takeMachineSnapshot();
    UiDriver& setup = walkToBothSimulators(run);
    setup.click(IDC_NEXT);
    expectFailureAndEnd(setup, kFilesFailed + failureDetail(blocked, ERROR_ALREADY_EXISTS, "GetFileAttributesA",
                                                             FailureSite::FolderInTheWay));
    check(!runJournal(), "no journal is left");
    checkSameMachine(blockedBefore);
    check(RemoveDirectoryA(blocked.c_str()) && RemoveDirectoryA(simulatorFile("aircraft\\marlin").c_str()),
          "the folder in the way goes");
  }
  seedLargeRegistration();
  const MachineSnapshot withRegistration = takeMachineSnapshot();
  {
    UiDriver& setup = walkToBothSimulators(run);
    setup.clickAndRunUntil(IDC_NEXT, "during the commit",
                           [] { return registeredEvents() != kLargeRegistration && journalUnderWay(); });
    setup.endFromOutside();
  }
  cancelAndConfirm(expectSettledByTheNextRun(run, withRegistration));
  check(deleteMachineTree(kRegistrationKey), "the seeded registration goes");

  UiDriver& setup = walkToBothSimulators(run);
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  finishAndEnd(setup);
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), kBothInOneFolder);
  checkInstalledFiles(expected);
  checkUninstallRegistration(kBothInOneFolder, expected);
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}

// An uninstallation ended from outside after it has deleted its own file in
// the program directory, and before the registration that names it goes: the
// next run of the setup program finishes it before its first page.
SCENARIO(uninstall_killed_after_its_own_file_is_gone) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  const std::string uninstaller = programFile("ksuninstall.exe");
  const std::string commandLine = uninstallCommandLine();
  {
    // The readme comes after the uninstaller in the registration: held, the
    // uninstallation asks about it, with its own file gone.
    HeldOpen viewer(programFile("readme.txt"));
    Uninstall uninstall = startUninstall(run, commandLine);
    check(!pathExists(uninstaller), "the uninstaller's own file is gone");
    check(readMachineValue(kRegistrationKey, "UninstallString").has_value(), "the registration is still there");
    uninstall.copy.endFromOutside();
    uninstall.original.expectExit(255, "of the uninstaller that was started, as its working copy ended from outside");
  }
  // The working copy that was ended goes at the next restart, as it marked itself to.
  cancelAndConfirm(expectSettledByTheNextRun(run, before, isSharedModuleOrWorkingCopy));
  restartWindows();
  checkSameMachine(before, isSharedModule);
}
