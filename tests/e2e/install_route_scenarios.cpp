// The routes through the wizard by installation type and installed
// simulators, each installing for real and read back afterwards.
#include <iostream>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "window_text.h"
#include "wizard_steps.h"

namespace {

// Everything an installation along `route` must have left behind.
void checkInstallation(const Route& route, const ExpectedInstallation& expected) {
  checkInstalledFiles(expected);
  checkFolderHolds(route.programDir, expected, {});
  for (Simulator simulator : {Simulator::Fs2002, Simulator::Fs2004}) {
    const std::string folder = simulatorFolder(simulator);
    if (pathExists(folder)) checkFolderHolds(folder, expected, seededSimulatorEntries());
  }
  checkProgramSettings(route);
  checkShortcuts(route);
  checkUninstallRegistration(route, expected);
}

}  // namespace

// The route most users take, and the walk that the build shows: one computer
// with Flight Simulator 2004 only. A screenshot of every page it passes.
SCENARIO(default_route) {
  seedSimulator(Simulator::Fs2004);
  const std::string opened = recordWhatIsOpened(run);
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};
  const ExpectedInstallation expected = expectedInstallation(run.payloadTree(), route);

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

  checkInstallation(route, expected);
  check(documentsOpened(opened).empty(), "nothing opened with neither box ticked");
  printInstallation(std::cout, route, expected);
}
