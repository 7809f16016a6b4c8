// Install through the wizard, uninstall as a user would, and find the machine
// as it was before: every file of drive C (the Start menu among them) and
// every key and value below HKEY_LOCAL_MACHINE\Software, but for the shared
// module fsuipc.dll, which stays in each simulator.
#include <windows.h>

#include <cstring>
#include <iostream>
#include <string>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "registry_view.h"
#include "resource_ids.h"
#include "scenario.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

// The round trip of one installation type, uninstalled through `commandLine`.
void roundTrip(ScenarioRun& run, int typeButton, std::string (*commandLine)()) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, typeButton);
  checkEqual(uninstallWithYes(run, commandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
  if (typeButton != IDC_TYPE_KESTREL_COMPUTER)
    check(pathExists(simulatorFolder(Simulator::Fs2004) + "modules\\fsuipc.dll"), "the shared module stays");
}

}  // namespace

SCENARIO(round_trip_one_computer) {
  roundTrip(run, IDC_TYPE_ONE_COMPUTER, uninstallCommandLine);
  // Once removed, there is nothing left to remove, whatever copy of the
  // uninstaller is started: this one is the payload's.
  const MachineSnapshot after = takeMachineSnapshot();
  UiDriver& again = run.startCommandLine("\"" + withBackslash(run.payloadTree()) + "ks\\ksuninstall.exe\" Kestrel 3");
  again.answerMessageBox(kUninstallerErrorCaption, kNothingToUninstall, IDOK);
  again.expectExit(kUninstallRefused, "with nothing to uninstall");
  checkSameMachine(after);
}

SCENARIO(round_trip_kestrel_computer) { roundTrip(run, IDC_TYPE_KESTREL_COMPUTER, uninstallCommandLine); }

SCENARIO(round_trip_simulator_computer) { roundTrip(run, IDC_TYPE_SIMULATOR_COMPUTER, uninstallCommandLine); }

SCENARIO(round_trip_through_the_shortcut) {
  roundTrip(run, IDC_TYPE_ONE_COMPUTER, uninstallShortcutCommandLine);
}

namespace {

std::string usersFile() { return defaultProgramDir() + "my flight notes.txt"; }

std::string programDirWithoutBackslash() {
  const std::string directory = defaultProgramDir();
  return directory.substr(0, directory.size() - 1);
}

bool isSharedModuleOrUsersFile(const std::string& entry) {
  return isSharedModule(entry) || entry == usersFile() || entry == defaultProgramDir();
}

// Appends an event to the registration, as anything that can edit the registry could.
void addRegisteredEvent(const std::string& command, const std::string& parameter) {
  const auto count = readMachineValue(kRegistrationKey, "EscortEvents");
  check(count && count->type == REG_DWORD, "the registration counts its events");
  DWORD n = 0;
  std::memcpy(&n, count->data.data(), sizeof n);
  const std::string number = std::to_string(n);
  check(seedMachineValue(kRegistrationKey, "EscortTag" + number, registryText(command)) &&
            seedMachineValue(kRegistrationKey, "EscortParams" + number, registryText(parameter)) &&
            seedMachineValue(kRegistrationKey, "EscortDesc" + number, registryText("Tidying up")) &&
            seedMachineValue(kRegistrationKey, "EscortEvents", registryDword(n + 1)),
        "an event is added to the registration");
}

}  // namespace

// A file the user put into the program directory stays, with its directory;
// a file the user deleted before does not stop the run.
SCENARIO(uninstall_keeps_what_the_user_added) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  writeBytes(usersFile(), "Oceanic 815 at FL350");
  check(DeleteFileA((defaultProgramDir() + "readme.txt").c_str()) != FALSE, "the user deletes the readme");

  checkEqual(uninstallWithYes(run, uninstallCommandLine()),
             std::string(kUninstalledReport) + "\n\nThese folders were kept, because they still hold files:\n" +
                 programDirWithoutBackslash(),
             "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModuleOrUsersFile);
  checkEqual(fileBytes(usersFile()).value_or(""), "Oceanic 815 at FL350", "the user's file");
}

// A registration edited to ask for what no installation of ours would: No
// changes nothing; Yes skips those events, names them and undoes the rest.
SCENARIO(uninstall_skips_what_no_installation_asks_for) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  addRegisteredEvent("DeleteFile", "\\\\fileserver\\share\\kestrel.cfg");
  addRegisteredEvent("DeleteRegTree", "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet");
  addRegisteredEvent("DeleteRegTree", "HKEY_LOCAL_MACHINE\\Software");

  const MachineSnapshot installed = takeMachineSnapshot();
  declineUninstall(run, uninstallCommandLine());
  checkSameMachine(installed);

  checkEqual(uninstallWithYes(run, uninstallCommandLine()),
             std::string(kUninstalledReport) +
                 "\n\nThese entries were skipped, because no installation of Kestrel 3 would ask for them:\n"
                 "DeleteFile \\\\fileserver\\share\\kestrel.cfg\n"
                 "DeleteRegTree HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\n"
                 "DeleteRegTree HKEY_LOCAL_MACHINE\\Software",
             "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}

namespace {

// Uninstalled through the registration, the machine is as `before` but for the shared module.
void uninstallToNothing(ScenarioRun& run, const MachineSnapshot& before) {
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}

}  // namespace

// A second installation over a first, which it must not orphan: one
// uninstall removes both. Into another directory, whose parent the setup
// program makes, as the earlier installation's setting proposes it.
SCENARIO(reinstalls_uninstall_to_nothing) {
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  installAs(run, IDC_TYPE_SIMULATOR_COMPUTER);
  // Windows' list shows the whole of both: the program still there, and the
  // size of everything one uninstall removes.
  ExpectedInstallation both = expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kFs2004Folder});
  const ExpectedInstallation second =
      expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), false, "", kFs2004Folder});
  both.events.insert(both.events.end(), second.events.begin(), second.events.end());
  checkRegistrationDetails(defaultProgramDir(), both);
  uninstallToNothing(run, before);

  const std::string elsewhere = "C:\\Programme\\Kestrel B\xfcrger";
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  seedProgramDirSetting(elsewhere);
  installAs(run, IDC_TYPE_ONE_COMPUTER, withBackslash(elsewhere));
  uninstallToNothing(run, before);
}

// A program directory that other programs share: their folders, empty or
// not, stay, and the report names only the shared folder itself.
SCENARIO(shared_program_dir_keeps_other_programs) {
  seedSimulator(Simulator::Fs2004);
  const std::string shared = "C:\\Program Files\\";
  for (const char* folder : {"Empty Vendor", "Other Suite", "Other Suite\\cache", "Other Tool", "Other Tool\\plugins"})
    check(CreateDirectoryA((shared + folder).c_str(), nullptr) != FALSE, std::string("the folder ") + folder + " is made");
  writeBytes(shared + "Other Suite\\suite.exe", "another program");
  const MachineSnapshot before = takeMachineSnapshot();
  seedProgramDirSetting(shared);  // as if chosen with the folder browser

  installAs(run, IDC_TYPE_ONE_COMPUTER, shared);
  checkEqual(uninstallWithYes(run, uninstallCommandLine()),
             std::string(kUninstalledReport) +
                 "\n\nThese folders were kept, because they still hold files:\nC:\\Program Files",
             "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);
}
