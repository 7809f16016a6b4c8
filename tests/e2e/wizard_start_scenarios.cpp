// Start-up and the first two pages of the wizard.
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

// The walk that the build shows in its screenshots.
SCENARIO(welcome_and_license) {
  UiDriver& setup = run.startSetup();
  expectWelcomePage(setup);
  setup.screenshot("welcome");
  setup.click(IDC_NEXT);
  expectLicensePage(setup, run.setupProgram(), false);
  setup.screenshot("license");
  cancelAndConfirm(setup);
}

// Every page's onCreate has run before the user sees the frame: all seven pages
// exist, hold what their onCreate put there, and hold nothing else once shown.
SCENARIO(pages_ready_before_frame_shows) {
  UiDriver& setup = run.startSetupWithShowProbe();
  expectWelcomePage(setup);
  const PageSnapshot beforeShown = run.showSnapshot();
  checkEqual(static_cast<long long>(pageCount(beforeShown)), 7, "pages when the frame was shown");
  const struct {
    int page, id;
    std::string text;
  } created[] = {
      {0, IDC_WELCOME_TEXT, kWelcomeText},
      {1, IDC_LICENSE_TEXT, expectedAgreement(run.setupProgram())},
  };
  for (const auto& control : created) {
    const ControlState* found = findControl(beforeShown, control.page, control.id);
    check(found != nullptr, "control " + std::to_string(control.id) + " on page " + std::to_string(control.page));
    checkEqual(found->text, control.text, "text before the frame was shown");
  }
  const PageSnapshot shown = snapshotPages(setup.mainWindow());
  checkEqual(static_cast<long long>(beforeShown.size()), static_cast<long long>(shown.size()), "controls");
  for (size_t index = 0; index < shown.size(); ++index) {
    checkEqual(describe(beforeShown[index]), describe(shown[index]), "control before and after the frame shows");
    checkEqual(beforeShown[index].text, shown[index].text, describe(shown[index]));
  }
  cancelAndConfirm(setup);
}

SCENARIO(any_command_line) {
  for (const char* arguments : {"/S", "/D=C:\\Elsewhere --uninstall -x", "\"C:\\some where\\setup.ini\" 1 2 3"}) {
    UiDriver& setup = run.startSetup(arguments);
    goToLicensePage(setup, run.setupProgram());
    cancelAndConfirm(setup);
  }
}
