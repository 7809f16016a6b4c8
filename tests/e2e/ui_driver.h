#pragma once
// Drives one run of the setup program or the uninstaller as a user would,
// through window captions and control ids only. Every wait has a time limit; whatever does
// not hold throws ScenarioFailure.
#include <windows.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "background_click.h"
#include "setup_process.h"

// A message's caption and text, as UiDriver::captionAndText gives them.
std::string captionAndText(const std::string& caption, const std::string& text);

class UiDriver {
 public:
  // Every wait's limit, in milliseconds: generous for Wine on a busy machine,
  // short enough to fail a hung wizard.
  static constexpr DWORD kTimeLimit = 30000;

  UiDriver(std::unique_ptr<SetupProcess> process, std::string screenshotDirectory);

  // Waits for a visible top-level window with this caption; controls are
  // looked up in it, and in its visible page, from then on.
  void waitForWindow(const std::string& caption);
  // Waits until the visible page of that window holds this control, visible.
  void waitForPage(int controlId);
  // Waits until the control, on the visible page or on the frame, is visible;
  // `timeLimit` in milliseconds for work that grows with the payload (the
  // benchmark's ten-times-the-files installation), else the usual limit.
  void waitForVisible(int controlId, DWORD timeLimit = kTimeLimit);

  // Clicks an enabled, visible button, check box or radio button. When the
  // click opens a message box, returns with the box open.
  void click(int controlId);
  // Clicks it and, from that instant, lets the program run a millisecond at a
  // time until `holds` says yes (throttle.h), leaving it held there: the work
  // that the click starts may run far ahead of the click's own return.
  void clickAndRunUntil(int controlId, const std::string& what, const std::function<bool()>& holds);
  void setChecked(int controlId, bool checked);
  // Checks the open message box's caption and text, then clicks its button
  // (IDYES, IDNO, IDOK) and waits until the click that opened it has returned.
  void answerMessageBox(const std::string& caption, const std::string& text, int buttonId);
  // The same for any other dialog that a click opened, by its caption alone.
  void answerDialog(const std::string& caption, int buttonId);
  // Waits for a dialog besides the wizard (a click opened it) and checks its caption.
  HWND waitForDialog(const std::string& caption);
  // The same for a dialog with any of these captions, whichever comes.
  HWND waitForDialog(const std::vector<std::string>& captions);
  // A message box's text: its static controls' texts (the icon has none).
  static std::string messageText(HWND box);
  // Its caption and its text, a line each: what a check compares, so that it
  // names the message that came instead.
  static std::string captionAndText(HWND box);

  std::string text(int controlId);
  bool isChecked(int controlId);
  bool isEnabled(int controlId);
  bool isVisible(int controlId);
  // The control `controlId` of the page at `pageIndex` (in the order the wizard
  // added its pages), shown or hidden: what a page left behind once it was left.
  HWND pageControl(int pageIndex, int controlId);
  // Visible top-level windows of the program.
  int visibleWindowCount() const;

  // Waits for the program to end and checks its exit code.
  void expectExit(DWORD exitCode, const std::string& what);
  // Ends the program from outside (Task Manager, a power cut); its exit code
  // then says nothing.
  void endFromOutside();
  // Whether it has ended with its exit code checked, or was ended from outside.
  bool exitAccountedFor() const { return accountedFor; }
  // Saves the window last waited for (or `shown`, such as a message box) as
  // <screenshot directory>/<name>.png and says where.
  void screenshot(const std::string& name, HWND shown = nullptr);

  // Waits until `condition` holds; fails after the time limit, or when the
  // program ends first.
  void waitFor(const std::string& what, const std::function<bool()>& condition, DWORD timeLimit = kTimeLimit);

  SetupProcess& process() { return *program; }
  const SetupProcess& process() const { return *program; }
  // The window last waited for.
  HWND mainWindow() const { return window; }

 private:
  // The control, checked to be visible and enabled.
  HWND clickable(int controlId);
  HWND control(int controlId);
  HWND currentPage() const;
  std::vector<HWND> messageBoxes() const;
  // Clicks the box's button and waits until the click that opened the box has returned.
  void clickAnswer(HWND box, int buttonId);
  void clickWindow(HWND button, const std::string& what);

  std::unique_ptr<SetupProcess> program;
  std::string screenshots;
  HWND window = nullptr;
  std::vector<std::unique_ptr<BackgroundClick>> clicksWaitingOnABox;
  std::vector<std::unique_ptr<BackgroundClick>> clicksLeftToReturn;
  bool accountedFor = false;
};
