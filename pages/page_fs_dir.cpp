#include "page_fs_dir.h"

#include "resource_ids.h"
#include "setup_choices.h"

namespace {

// The radio buttons and the simulators each one chooses.
const struct {
  int buttonId;
  bool useFs2002;
  bool useFs2004;
} kVersionButtons[] = {
    {IDC_SIMULATOR_VERSION_FS2002, true, false},
    {IDC_SIMULATOR_VERSION_FS2004, false, true},
    {IDC_SIMULATOR_VERSION_BOTH, true, true},
};

}  // namespace

WORD PageFSDir::dialogTemplate() { return IDD_PAGE_SIMULATOR_VERSION; }

int PageFSDir::onEnter(Escort::WizardUI* frame, HWND window) {
  SetupChoices& choices = setupChoices(frame);
  // One version found, or chosen here before: nothing to ask.
  if (choices.useFs2002 || choices.useFs2004) {
    frame->next();
    return 1;
  }
  choices.useFs2002 = false;
  choices.useFs2004 = true;
  CheckRadioButton(window, IDC_SIMULATOR_VERSION_FS2002, IDC_SIMULATOR_VERSION_BOTH, IDC_SIMULATOR_VERSION_FS2004);
  return KS3Page::onEnter(frame, window);
}

int PageFSDir::onBack(Escort::WizardUI* frame, HWND) {
  // A simulator computer came here straight from the type page.
  if (setupChoices(frame).installType == SimulatorComputer)
    frame->goToPage(frame->currentPage() - 2);
  else
    frame->back();
  return 1;
}

INT_PTR PageFSDir::onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    for (const auto& button : kVersionButtons) {
      if (LOWORD(wParam) == button.buttonId) {
        SetupChoices& choices = setupChoices(frame);
        choices.useFs2002 = button.useFs2002;
        choices.useFs2004 = button.useFs2004;
        return 1;
      }
    }
  }
  return KS3Page::onMessage(frame, window, message, wParam, lParam);
}
