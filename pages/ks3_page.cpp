#include "ks3_page.h"

#include <string>

#include "module_strings.h"
#include "resource_ids.h"
#include "setup_choices.h"

void KS3Page::onCreate(Escort::WizardUI*, HWND) {}

int KS3Page::onEnter(Escort::WizardUI*, HWND window) {
  ShowWindow(GetDlgItem(GetParent(window), IDC_HEADER_LOGO), showsHeaderLogo() ? SW_SHOW : SW_HIDE);
  return 1;
}

int KS3Page::onNext(Escort::WizardUI*, HWND) { return 0; }

int KS3Page::onBack(Escort::WizardUI*, HWND) { return 0; }

int KS3Page::onCancel(Escort::WizardUI* frame, HWND window) {
  const std::string caption = loadString(IDS_CANCEL_CAPTION);
  const std::string question = loadString(IDS_CANCEL_QUESTION);
  if (MessageBoxA(window, question.c_str(), caption.c_str(), MB_YESNO) == IDYES) frame->close();
  return 1;
}

int KS3Page::onFinish(Escort::WizardUI* frame, HWND) {
  frame->close();
  return 1;
}

INT_PTR KS3Page::onMessage(Escort::WizardUI*, HWND, UINT, WPARAM, LPARAM) { return 0; }

int KS3Page::onLeave(Escort::WizardUI*, HWND) { return 0; }

void KS3Page::onDestroy(Escort::WizardUI*, HWND) {}

bool KS3Page::showsHeaderLogo() { return true; }

SetupChoices& KS3Page::setupChoices(Escort::WizardUI* frame) {
  return *static_cast<SetupChoices*>(frame->userData());
}
