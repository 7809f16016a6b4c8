#pragma once
#include <windows.h>

#include "wizard_ui.h"

struct SetupChoices;

// The product's page base: what every page does unless it says otherwise.
// Overrides that only add behaviour end by calling the same slot here.
class KS3Page : public Escort::WizardUIPage {
 public:
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  // Shows or hides the frame's header bitmap as showsHeaderLogo() asks.
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  int onNext(Escort::WizardUI* frame, HWND window) override;
  int onBack(Escort::WizardUI* frame, HWND window) override;
  // Asks whether to leave the installation unfinished; Yes closes the wizard.
  int onCancel(Escort::WizardUI* frame, HWND window) override;
  int onFinish(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  int onLeave(Escort::WizardUI* frame, HWND window) override;
  void onDestroy(Escort::WizardUI* frame, HWND window) override;
  virtual bool showsHeaderLogo();

 protected:
  // The record of the user's choices, which start-up gave the frame; fetched
  // anew each time, never kept.
  static SetupChoices& setupChoices(Escort::WizardUI* frame);

  ~KS3Page() = default;  // pages are owned as what they are, never through this base
};
