// The wizard with the keyboard alone: keys posted into the program's queue as
// a keyboard delivers them, and the focus checked on every page it comes to.
#include "expected_installation.h"
#include "folder_browser.h"
#include "installation_checks.h"
#include "keyboard_input.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "window_text.h"
#include "wizard_steps.h"

namespace {

// Waits until the message box or dialog that a key opened has closed.
void waitForWizardAlone(UiDriver& setup) {
  setup.waitFor("the wizard to be the only window", [&] { return setup.visibleWindowCount() == 1; });
}

// On the licence page, with the focus on the agreement: Tab to the box, Space ticks it.
void acceptLicense(UiDriver& setup, const std::string& setupProgram) {
  press(setup, {VK_TAB});
  waitForFocus(setup, IDC_LICENSE_ACCEPT);
  press(setup, {VK_SPACE});
  setup.waitFor("the agreement to be accepted", [&] { return setup.isChecked(IDC_LICENSE_ACCEPT); });
  expectLicensePage(setup, setupProgram, true);
}

}  // namespace

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
  const HWND agreement = setup.pageControl(1, IDC_LICENSE_TEXT);
  checkEqual(static_cast<long long>(windowAnswer(agreement, EM_GETFIRSTVISIBLELINE)), 0,
             "first line shown of the agreement");
  press(setup, {VK_RETURN});
  press(setup, {VK_ESCAPE});
  setup.waitForDialog(kCancelCaption);
  press(setup, {'N'});
  waitForWizardAlone(setup);
  // Taken after Enter, which left the page as it was.
  waitForFocus(setup, IDC_LICENSE_TEXT);
  expectLicensePage(setup, run.setupProgram(), false);
  acceptLicense(setup, run.setupProgram());
  setup.screenshot("license");
  press(setup, {VK_RETURN});

  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  waitForFocus(setup, IDC_TYPE_ONE_COMPUTER);
  checkEqual(setup.isChecked(IDC_TYPE_ONE_COMPUTER), true, "one computer selected at first");
  setup.screenshot("type");
  press(setup, {VK_RETURN});

  // Here too Enter takes what is proposed; Tab still reaches "Change...".
  expectProgramDirPage(setup, route.programDir);
  waitForFocus(setup, IDC_NEXT);
  for (int control : {IDCANCEL, IDC_KESTREL_DIR_CHANGE, IDC_BACK, IDC_NEXT}) {
    press(setup, {VK_TAB});
    waitForFocus(setup, control);
  }
  setup.screenshot("program_dir");
  // All three are taken on the progress page, before the worker's first message.
  typeAhead(setup, {{VK_RETURN}, {VK_ESCAPE}, {VK_F4, true}});

  expectFinishedPage(setup, true);
  waitForFocus(setup, IDC_FINISHED_USER_GUIDE);
  press(setup, {VK_TAB});
  waitForFocus(setup, IDC_FINISHED_README);
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 1, "windows besides the wizard");
  setup.screenshot("finished");
  press(setup, {VK_RETURN});
  setup.expectExit(kExitInstalled, "after Finish");
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));
}

// With both simulators, by underlined letters and arrow keys: a radio button
// reached by either is selected and focused, and the choice follows it as a
// click's would (here "Both", installed into each simulator). The folder
// browser opens with Alt+C and closes with Esc, as the system has it.
SCENARIO(keyboard_both_simulators) {
  seedSimulator(Simulator::Fs2002);
  seedSimulator(Simulator::Fs2004);
  const Route route{defaultProgramDir(), true, kFs2002Folder, kFs2004Folder};

  UiDriver& setup = run.startSetup();
  expectWelcomePage(setup);
  press(setup, {'N', true});
  expectLicensePage(setup, run.setupProgram(), false);
  acceptLicense(setup, run.setupProgram());
  press(setup, {'N', true});

  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  const struct {
    Keystroke key;
    int selected;
  } typeKeys[] = {
      {{VK_DOWN}, IDC_TYPE_KESTREL_COMPUTER}, {{VK_DOWN}, IDC_TYPE_SIMULATOR_COMPUTER},
      {{VK_DOWN}, IDC_TYPE_ONE_COMPUTER},     {{VK_UP}, IDC_TYPE_SIMULATOR_COMPUTER},
      {{'K', true}, IDC_TYPE_KESTREL_COMPUTER}, {{'O', true}, IDC_TYPE_ONE_COMPUTER},
  };
  for (const auto& step : typeKeys) {
    press(setup, step.key);
    waitForFocus(setup, step.selected);
    checkEqual(setup.isChecked(step.selected), true, "type button " + std::to_string(step.selected) + " selected");
  }
  press(setup, {VK_RETURN});

  expectProgramDirPage(setup, route.programDir);
  press(setup, {'C', true});
  setup.waitForDialog(kFolderBrowserCaption);
  press(setup, {VK_ESCAPE});
  waitForWizardAlone(setup);
  expectProgramDirPage(setup, route.programDir);
  press(setup, {'B', true});
  waitForFocus(setup, IDC_TYPE_ONE_COMPUTER);
  press(setup, {'N', true});
  waitForFocus(setup, IDC_NEXT);
  press(setup, {'N', true});

  expectVersionPage(setup);
  waitForFocus(setup, IDC_SIMULATOR_VERSION_FS2004);
  press(setup, {VK_DOWN});
  waitForFocus(setup, IDC_SIMULATOR_VERSION_BOTH);
  checkEqual(setup.isChecked(IDC_SIMULATOR_VERSION_BOTH), true, "Both selected");
  setup.screenshot("version");
  press(setup, {VK_RETURN});

  expectFinishedPage(setup, true);
  press(setup, {'F', true});
  setup.expectExit(kExitInstalled, "after Finish");
  checkInstalledFiles(expectedInstallation(run.payloadTree(), route));
}
