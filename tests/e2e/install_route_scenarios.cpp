// The routes through the wizard by installation type and installed
// simulators, each installing for real and read back afterwards.
#include <iostream>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "uninstaller_steps.h"
#include "window_text.h"
#include "wizard_steps.h"

// The route most users take, and the walk that the build shows: one computer
// with Flight Simulator 2004 only. A screenshot of every page it passes, what
// was installed listed, then uninstalled as Windows' list of programs starts
// it, and what remains listed: the shared module alone. Given a payload built
// elsewhere, without its tree, the walk cannot compare the files and says so.
SCENARIO(default_route) {
  seedSimulator(Simulator::Fs2004);
  const std::string opened = recordWhatIsOpened(run);
  const MachineSnapshot before = takeMachineSnapshot();
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};

  UiDriver& setup = run.startSetupWithProgressProbe(run.screenshotPath("progress"), "");
  expectWelcomePage(setup);
  setup.screenshot("welcome");
  setup.click(IDC_NEXT);
  expectLicensePage(setup, run.setupProgram(), false);
  setup.setChecked(IDC_LICENSE_ACCEPT, true);
  setup.screenshot("license");
  setup.click(IDC_NEXT);
  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  checkEqual(setup.isChecked(IDC_TYPE_ONE_COMPUTER), true, "one computer selected at first");
  setup.screenshot("type");
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, route.programDir);
  setup.screenshot("program_dir");
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  check(pathExists(run.screenshotPath("progress")), "the progress page was caught mid-run");
  std::cout << "Screenshot progress: " << run.screenshotPath("progress") << std::endl;
  setup.screenshot("finished");
  finishAndEnd(setup);

  check(documentsOpened(opened).empty(), "nothing opened with neither box ticked");
  if (run.knowsPayloadTree())
    checkInstallation(route, expectedInstallation(run.payloadTree(), route));
  else
    std::cout << "== No payload tree given: the installed files are listed, not compared" << std::endl;
  printInstallation(std::cout, route);

  std::cout << "== Uninstalling: " << uninstallCommandLine() << std::endl;
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  std::string remains;
  for (const std::string& difference : snapshotDifferences(before, takeMachineSnapshot()))
    remains += difference + "\n";
  std::cout << "== What remains of the installation on drive C and in HKLM\\Software:\n" << remains << std::flush;
  checkEqual(remains, "+ " + std::string(kFs2004Folder) + "modules\\fsuipc.dll\n", "what the uninstaller left");
}

// With both simulators the version page asks, proposing 2004; "Both" installs
// into each, Flight Simulator 2002 first.
SCENARIO(both_simulators_one_computer) {
  seedSimulator(Simulator::Fs2002);
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, kFs2002Folder, kFs2004Folder};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);

  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, route.programDir);
  setup.click(IDC_NEXT);
  expectVersionPage(setup);
  checkEqual(setup.isEnabled(IDC_BACK), true, "Back enabled on the version page");
  setup.screenshot("version");
  setup.setChecked(IDC_SIMULATOR_VERSION_BOTH, true);
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  finishAndEnd(setup);
  checkInstallation(route, expected);
}

// A computer that runs only the add-on: the version page is never shown, even
// with both simulators installed, and no simulator files are installed.
SCENARIO(kestrel_computer_with_both_simulators) {
  seedSimulator(Simulator::Fs2002);
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, "", ""};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);

  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, route.programDir);
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
  // Shown even once, the version page would have selected 2004.
  const HWND fs2004 = setup.pageControl(kVersionPage, IDC_SIMULATOR_VERSION_FS2004);
  checkEqual(windowAnswer(fs2004, BM_GETCHECK) == BST_CHECKED, false, "2004 selected, so the version page was shown");
  finishAndEnd(setup);
  checkInstallation(route, expected);
}

// A computer that runs only the simulator: the version page comes straight
// after the type page and Back returns there; only simulator files (and the
// uninstaller to remove them with), no settings, no shortcuts, no readme.
SCENARIO(simulator_computer_with_both_simulators) {
  seedSimulator(Simulator::Fs2002);
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), false, "", kFs2004Folder};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);

  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  setup.setChecked(IDC_TYPE_SIMULATOR_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectVersionPage(setup);
  setup.click(IDC_BACK);
  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  checkEqual(setup.isChecked(IDC_TYPE_SIMULATOR_COMPUTER), true, "simulator computer still selected");
  setup.click(IDC_NEXT);
  expectVersionPage(setup);
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, false);
  finishAndEnd(setup);
  checkInstallation(route, expected);
}

// Without a simulator, a computer that needs one is refused on every Next and
// stays on the type page; a computer that runs only the add-on goes on.
SCENARIO(no_simulator_installed) {
  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  for (int type : {IDC_TYPE_ONE_COMPUTER, IDC_TYPE_ONE_COMPUTER, IDC_TYPE_SIMULATOR_COMPUTER}) {
    setup.setChecked(type, true);
    setup.click(IDC_NEXT);
    setup.answerMessageBox(kErrorCaption, kNoSimulatorMessage, IDOK);
    setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
    checkEqual(setup.isChecked(type), true, "type still selected after the message");
  }
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, defaultProgramDir());
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 1, "windows besides the wizard");
  cancelAndConfirm(setup);
}
