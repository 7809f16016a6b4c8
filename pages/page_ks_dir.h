#pragma once
#include <string>

#include "ks3_page.h"

// The directory the program files go into: proposed from an earlier
// installation or the Program Files folder, changed through the folder
// browser. Also holds the GUI thread's COM apartment for the whole wizard,
// which the folder browser and the Start menu shortcuts need.
class PageKSDir final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  // The focus starts on Next, not on "Change...": Enter takes the directory
  // proposed, as on every other page.
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  int onNext(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void onDestroy(Escort::WizardUI* frame, HWND window) override;

 private:
  // The one way the page changes the directory: the record and the label together.
  static void setProgramDir(Escort::WizardUI* frame, HWND window, const std::string& directory);
  // What an earlier installation recorded, else Program Files\Kestrel3; with a trailing backslash.
  static std::string proposedProgramDir();
  static void browseForProgramDir(Escort::WizardUI* frame, HWND window);
};
