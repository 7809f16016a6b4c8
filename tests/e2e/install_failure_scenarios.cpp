// An installation that fails tells the user why and registers nothing.
#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

// A file where the program directory should be: the directory cannot be
// made, so the files fail with the extractor's code 2.
SCENARIO(program_dir_cannot_be_created) {
  const std::string blocker = "C:\\Kestrel blocked";
  writeBytes(blocker, "a file, not a directory");
  seedProgramDirSetting(blocker);

  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, blocker + "\\");
  setup.click(IDC_NEXT);
  setup.answerMessageBox(kErrorCaption,
                         "An error occurred while installing the files.\nThe installer will now close.\n(2)", IDOK);
  checkEqual(static_cast<long long>(setup.waitForEnd()), 0, "exit code after the failure");
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 0, "windows left after the end");
  checkNoUninstallRegistration();
  check(!isDirectory(blocker) && pathExists(blocker), "the file is still there");
}
