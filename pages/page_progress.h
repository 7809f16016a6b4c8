#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "installation_run.h"
#include "ks3_page.h"
#include "setup_exit_codes.h"

// Runs the installation (installation_run.h) and shows how far it has come.
// Becoming current starts it: the checks that change nothing, then the
// changes, the worker thread among them, whose messages drive the bar. The
// page only draws, asks and reports: at the worker's end the run commits and
// the page moves on, or the run takes everything back and the page reports
// the failure and closes.
class PageProgress final : public KS3Page {
 public:
  WORD dialogTemplate() override;
  void onCreate(Escort::WizardUI* frame, HWND window) override;
  int onEnter(Escort::WizardUI* frame, HWND window) override;
  INT_PTR onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class PageWaiting;
  // The page shows what the worker's messages say every 50 ms while they keep
  // coming, once they pause (a timer), and at the end in any case. Each
  // change of a control repaints it at once, a few milliseconds under Wine 8.0,
  // and the worker posts thousands of messages: redrawn for each, the page
  // would fall seconds behind the worker. A state passed over is replaced
  // before anyone could see it.
  void resetDisplay(HWND window);
  void refreshWhenDue(HWND window);
  void refresh(HWND window);
  void updateProgressDisplay(HWND window);
  void showFileName(HWND window, const std::string& name);
  // The checks that change nothing: false once the page has reported why the
  // run cannot go on.
  bool checksPass(Escort::WizardUI* frame, HWND window);
  void completeInstallation(Escort::WizardUI* frame, HWND window, int result);
  // The run's failure: whatever it changed is taken back, then its message
  // shows, with what failed and why, and what could not be put back, if
  // anything, and the wizard closes and the program ends with `exitCode`.
  void reportFailure(Escort::WizardUI* frame, HWND window, int exitCode = kExitFailed);
  // Ends the program before anything changed, with `text` and `exitCode`.
  void refuse(Escort::WizardUI* frame, HWND window, const std::string& text, int exitCode);

  std::unique_ptr<InstallationRun> run;
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
