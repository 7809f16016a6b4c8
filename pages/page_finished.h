#pragma once
#include "ks3_page.h"

// The end of a successful installation. Finish opens the online user guide
// and the readme if their boxes are ticked, then closes the wizard.
class PageFinished final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  int onFinish(Escort::WizardUI* frame, HWND window) override;
};
