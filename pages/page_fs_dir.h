#pragma once
#include "ks3_page.h"

// Which of the installed Flight Simulator versions receive the simulator
// files. Shown only when both are installed and none is chosen yet; otherwise
// it passes itself over.
class PageFSDir final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  int onBack(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};
