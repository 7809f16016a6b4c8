#pragma once
#include "ks3_page.h"

// The licence agreement; Next works only while its acceptance box is ticked.
class PageLicense final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Next and Finish follow the acceptance box; Cancel and Back stay as they are.
  static void updateLicenseButtons(Escort::WizardUI* frame, HWND window);
};
