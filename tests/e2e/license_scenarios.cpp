// The licence page: Next only with the agreement accepted.
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

SCENARIO(license_acceptance) {
  UiDriver& setup = run.startSetup();
  goToLicensePage(setup, run.setupProgram());
  for (bool ticked : {true, false, true}) {
    setup.setChecked(IDC_LICENSE_ACCEPT, ticked);
    checkEqual(setup.isEnabled(IDC_NEXT), ticked, "Next enabled with the box ticked");
    checkEqual(setup.isEnabled(IDC_FINISH), ticked, "Finish enabled with the box ticked");
  }
  // The tick survives Back and Next, and Next is enabled at once.
  setup.click(IDC_BACK);
  expectWelcomePage(setup);
  setup.click(IDC_NEXT);
  expectLicensePage(setup, run.setupProgram(), true);
  cancelAndConfirm(setup);
}

// No keeps everything as it was, on either page; Yes ends the program.
SCENARIO(cancel_asks_first) {
  UiDriver& setup = run.startSetup();
  expectWelcomePage(setup);
  setup.click(IDCANCEL);
  setup.answerMessageBox(kCancelCaption, kCancelQuestion, IDNO);
  expectWelcomePage(setup);
  setup.click(IDC_NEXT);
  setup.waitForPage(IDC_LICENSE_ACCEPT);
  setup.setChecked(IDC_LICENSE_ACCEPT, true);
  setup.click(IDCANCEL);
  setup.answerMessageBox(kCancelCaption, kCancelQuestion, IDNO);
  expectLicensePage(setup, run.setupProgram(), true);
  cancelAndConfirm(setup);
}
