#pragma once
#include <cstdint>
#include <string>

#include "install_journal.h"
#include "ks3_page.h"
#include "setup_exit_codes.h"
#include "uninstall_summary.h"

struct InstallJob;
namespace Escort {
class UninstallerSetup;
}

// Runs the installation and shows how far it has come. Becoming current
// starts it: the check that every volume has room, the uninstall log, the
// registry settings and Start menu shortcuts (when the program files are
// installed), then the worker thread, whose messages drive the bar. At the
// worker's end the page commits the uninstall registration and moves on, or
// takes back everything the run changed, reports the failure and closes.
// Every change is recorded in the run's journal before it is made.
class PageProgress final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The page shows what the worker's messages say every 50 ms while they keep
  // coming, once they pause (a timer), and at the end in any case. Each
  // change of a control repaints it at once, a few milliseconds under Wine,
  // and the worker posts thousands of messages: redrawn for each, the page
  // would fall seconds behind the worker. A state passed over is replaced
  // before anyone could see it.
  void resetDisplay(HWND window);
  void refreshWhenDue(HWND window);
  void refresh(HWND window);
  void updateProgressDisplay(HWND window);
  void showFileName(HWND window, const std::string& name);
  void completeInstallation(Escort::WizardUI* frame, HWND window, int result);
  bool hasRoom(Escort::WizardUI* frame, HWND window);
  bool noFileHeld(Escort::WizardUI* frame, HWND window);
  // A fatal failure: whatever the run changed is taken back, then its
  // message shows, with what failed and why (`failure`, when known) and
  // what could not be put back, if anything, and the wizard closes and the
  // program ends with `exitCode`.
  void reportFailure(Escort::WizardUI* frame, HWND window, const std::string& text, int exitCode = kExitFailed,
                     const FailedItem& failure = {});

  InstallJob* job = nullptr;
  Escort::UninstallerSetup* uninstallLog = nullptr;
  InstallJournal journal;
  HANDLE workerThread = nullptr;
  FailedItem failure;  // what the worker said failed, and why
  // Unsigned 32-bit, as the worker counts: a payload of 2 GiB or more must
  // not overflow a signed count.
  uint32_t totalBytes = 0;
  uint32_t writtenBytes = 0;
  std::string fileName;  // the file the worker is on; none once it has succeeded
  DWORD lastRefresh = 0;  // GetTickCount of the last redraw
  // What the controls show; only what changed is set again.
  int shownBarPosition = 0;
  std::string shownPercent;
  std::string shownFileName;
};
