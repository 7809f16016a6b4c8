// The wizard with the keyboard alone: keys posted into the program's queue as
// a keyboard delivers them, and the focus checked on every page it comes to.
#include "expected_installation.h"
#include "installation_checks.h"
#include "keyboard_input.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

// The route most users take, pressing Enter on every page: the focus starts on
// each page's first control, or on Next. Enter does nothing while Next is
// disabled; Esc asks as Cancel does, and neither Esc nor Alt+F4 interrupts the
// installation.
SCENARIO(keyboard_default_route) {
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, "", kFs2004Folder};

  UiDriver& setup = run.startSetup();
  expectWelcomePage(setup);
  waitForFocus(setup, IDC_NEXT);
  setup.screenshot("welcome");
  press(setup, {VK_RETURN});

  expectLicensePage(setup, run.setupProgram(), false);
  waitForFocus(setup, IDC_LICENSE_TEXT);
  press(setup, {VK_RETURN});
  press(setup, {VK_TAB});
  waitForFocus(setup, IDC_LICENSE_ACCEPT);
  expectLicensePage(setup, run.setupProgram(), false);
  press(setup, {VK_ESCAPE});
  setup.waitForDialog(kCancelCaption);
  press(setup, {'N'});
  setup.waitFor("the question to close", [&] { return setup.visibleWindowCount() == 1; });
  waitForFocus(setup, IDC_LICENSE_ACCEPT);
  press(setup, {VK_SPACE});
  setup.waitFor("the agreement to be accepted", [&] { return setup.isChecked(IDC_LICENSE_ACCEPT); });
  expectLicensePage(setup, run.setupProgram(), true);
  setup.screenshot("license");
  press(setup, {VK_RETURN});

  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  waitForFocus(setup, IDC_TYPE_ONE_COMPUTER);
  checkEqual(setup.isChecked(IDC_TYPE_ONE_COMPUTER), true, "one computer selected at first");
  setup.screenshot("type");
  press(setup, {VK_RETURN});

  expectProgramDirPage(setup, route.programDir);
  waitForFocus(setup, IDC_KESTREL_DIR_CHANGE);
  press(setup, {VK_TAB});
  waitForFocus(setup, IDC_BACK);
  press(setup, {VK_TAB});
  waitForFocus(setup, IDC_NEXT);
  setup.screenshot("program_dir");
  // All three are taken on the progress page, before the worker's first message.
  typeAhead(setup, {{VK_RETURN}, {VK_ESCAPE}, {VK_F4, true}});

  expectFinishedPage(setup, true);
  waitForFocus(setup, IDC_FINISHED_README);
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 1, "windows besides the wizard");
  setup.screenshot("finished");
  press(setup, {VK_RETURN});
  checkEqual(static_cast<long long>(setup.waitForEnd()), 0, "exit code after Finish");
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));
}
