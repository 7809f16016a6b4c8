#pragma once
#include "ks3_page.h"

struct SetupChoices;

// The installation type: one computer, or which of two this one is. Next finds
// the installed simulators and chooses the page that follows.
class PageType final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  int onNext(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The type follows the selected radio button at once.
  static void readInstallType(Escort::WizardUI* frame, HWND window);
  // Reads both simulators' folders from the registry and sets the use flags
  // from them; both found leaves both flags clear for the version page. False
  // when neither is installed in a folder that can take the installation;
  // with `tell`, each one registered in a folder that cannot is named.
  bool detectSimulators(HWND window, SetupChoices& choices, bool tell);

  bool told = false;  // the last detection named a folder that cannot take the installation
};
