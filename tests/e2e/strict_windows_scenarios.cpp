// Installing and uninstalling under the strict-Windows layer with every
// behaviour it has: what passes here passes where Windows keeps its own rules
// (files being deleted, path lengths, links). The uninstaller's working copy,
// which the uninstaller starts itself, runs under the layer too.
#include <string>
#include <vector>

#include "expected_installation.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "text_format.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

namespace {

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && equalsIgnoringCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

SCENARIO(strict_windows_round_trip_one_computer) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const MachineSnapshot before = takeMachineSnapshot();
  installAs(run, IDC_TYPE_ONE_COMPUTER);
  checkInstalledFiles(expectedInstallation(run.payloadTree(), Route{defaultProgramDir(), true, "", kFs2004Folder}));
  checkEqual(uninstallWithYes(run, uninstallCommandLine()), kUninstalledReport, "the uninstaller's report");
  restartWindows();
  checkSameMachine(before, isSharedModule);

  const std::vector<std::string> programs = strict.programsRun();
  check(programs.size() == 3 && endsWith(programs[0], "\\ks3setup.exe") &&
            equalsIgnoringCase(programs[1], defaultProgramDir() + "ksuninstall.exe") &&
            endsWith(programs[2], "\\ksuninstall.exe") && !equalsIgnoringCase(programs[2], programs[1]),
        "the setup program, the uninstaller and its working copy ran under the layer; these did:" + listed(programs));
}
