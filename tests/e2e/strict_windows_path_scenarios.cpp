// Paths as Windows takes them: never through a link that another user put
// where the installation made a folder.
#include <windows.h>

#include <string>
#include <vector>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "strict_windows_run.h"
#include "uninstaller_steps.h"
#include "wizard_steps.h"

// After an installation, a standard user puts a junction to a folder of
// files they may not change, by the names of Kestrel's modules, in place of
// the simulator's modules folder (which inherits "Modify" for users from the
// drive's root). The setup program, run again, refuses to write through it
// before anything changes; the uninstaller, which runs elevated, deletes
// nothing through it and names it; the rest of the installation goes.
SCENARIO(strict_windows_junction_in_place_of_modules_refused_by_the_programs) {
  StrictWindows strict(run);
  seedSimulator(Simulator::Fs2004);
  const std::string guarded = "C:\\Guarded";
  check(CreateDirectoryA(guarded.c_str(), nullptr) != FALSE, "the guarded folder is made");
  const std::vector<std::string> names = filesBelow(withBackslash(run.payloadTree()) + "fs\\modules");
  for (const std::string& name : names) writeBytes(guarded + "\\" + name, "not Kestrel's " + name);
  installAs(run, IDC_TYPE_ONE_COMPUTER);

  const std::string modules = simulatorFolder(Simulator::Fs2004) + "modules";
  check(MoveFileA(modules.c_str(), (modules + " as installed").c_str()) != FALSE, "the modules folder is moved away");
  makeJunction(modules, guarded);
  const auto checkNothingReached = [&](const std::string& by) {
    std::vector<std::string> reached;
    for (const std::string& name : names) {
      if (fileBytes(guarded + "\\" + name).value_or("(gone)") != "not Kestrel's " + name)
        reached.push_back(guarded + "\\" + name);
    }
    check(reached.empty(), "nothing is changed through the junction " + by + "; these were:" + listed(reached));
  };
  const MachineSnapshot linked = takeMachineSnapshot();
  UiDriver& setup = walkToTheLastPage(run);
  setup.click(IDC_NEXT);
  expectFailureAndEnd(setup,
                      destinationRefused(simulatorFolder(Simulator::Fs2004),
                                         "A link to another place stands where the installation writes into a "
                                         "folder:\n" + modules + "\n\nRemove the link, or put the folder back, "
                                         "then run the installer again."),
                      kExitRefused);
  checkNothingReached("by the setup program");
  checkSameMachine(linked);
  Uninstall uninstall = startUninstall(run, uninstallCommandLine());
  const std::string report = nextMessage(uninstall.copy);

  checkEqual(report,
             captionAndText(kUninstallReportCaption,
                          kUninstalledReport +
                              "\n\nThese were left alone, because a link to another place stands where the "
                              "installation made a folder:\n" +
                              modules),
             "the report");
  checkNothingReached("by the uninstaller");
  check(isDirectory(modules) && (GetFileAttributesA(modules.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT),
        "the junction stays as the user made it");
  closeReport(uninstall, kUninstallDone);
  checkNoUninstallRegistration();
  check(!pathExists(defaultProgramDir()), "the program files are removed");
}
