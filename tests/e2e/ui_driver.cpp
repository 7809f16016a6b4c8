#include "ui_driver.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "scenario_check.h"
#include "screenshot.h"
#include "setup_windows.h"
#include "throttle.h"
#include "window_text.h"

namespace {
const DWORD kPollInterval = 20;
}  // namespace

UiDriver::UiDriver(std::unique_ptr<SetupProcess> process, std::string screenshotDirectory)
    : program(std::move(process)), screenshots(std::move(screenshotDirectory)) {}

void UiDriver::waitFor(const std::string& what, const std::function<bool()>& condition, DWORD timeLimit) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeLimit) {
      throw ScenarioFailure("gave up after " + std::to_string(timeLimit / 1000) + " s waiting for " + what);
    }
    // The program may have ended just after the condition was tested, by
    // what the condition waits for (Finish): tested once more then.
    if (!program->running() && !condition()) {
      throw ScenarioFailure("the program ended (exit code " + std::to_string(program->exitCode()) +
                            ") while waiting for " + what);
    }
    Sleep(kPollInterval);
  }
}

void UiDriver::waitForWindow(const std::string& caption) {
  waitFor("a window \"" + caption + "\"", [&] {
    for (HWND candidate : program->topLevelWindows(true)) {
      if (windowText(candidate) == caption) {
        window = candidate;
        return true;
      }
    }
    return false;
  });
}

HWND UiDriver::currentPage() const {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowClass(child) == kDialogClass && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

void UiDriver::waitForPage(int controlId) {
  check(window != nullptr, "a window was waited for before its pages");
  waitFor("the page with control " + std::to_string(controlId), [&] {
    HWND page = currentPage();
    HWND found = page ? GetDlgItem(page, controlId) : nullptr;
    return found != nullptr && IsWindowVisible(found);
  });
}

void UiDriver::waitForVisible(int controlId, DWORD timeLimit) {
  check(window != nullptr, "a window was waited for before its controls");
  waitFor(
      "control " + std::to_string(controlId) + " to be visible",
      [&] {
        HWND page = currentPage();
        HWND found = page ? GetDlgItem(page, controlId) : nullptr;
        if (found == nullptr) found = GetDlgItem(window, controlId);
        return found != nullptr && IsWindowVisible(found);
      },
      timeLimit);
}

HWND UiDriver::pageControl(int pageIndex, int controlId) {
  check(window != nullptr, "a window was waited for before its pages");
  int index = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (windowClass(child) != kDialogClass) continue;
    if (index++ != pageIndex) continue;
    HWND found = GetDlgItem(child, controlId);
    check(found != nullptr, "control " + std::to_string(controlId) + " is on page " + std::to_string(pageIndex));
    return found;
  }
  throw ScenarioFailure("the frame has no page " + std::to_string(pageIndex));
}

HWND UiDriver::control(int controlId) {
  check(window != nullptr, "a window was waited for before its controls");
  if (HWND page = currentPage()) {
    if (HWND found = GetDlgItem(page, controlId)) return found;
  }
  HWND found = GetDlgItem(window, controlId);
  check(found != nullptr, "control " + std::to_string(controlId) + " is on the visible page or its frame");
  return found;
}

std::vector<HWND> UiDriver::messageBoxes() const {
  std::vector<HWND> boxes;
  for (HWND candidate : program->topLevelWindows(true)) {
    if (candidate != window && windowClass(candidate) == kDialogClass) boxes.push_back(candidate);
  }
  return boxes;
}

void UiDriver::clickWindow(HWND button, const std::string& what) {
  const std::vector<HWND> boxesBefore = messageBoxes();
  auto click = std::make_unique<BackgroundClick>(button);
  waitFor(what + " to return or open a message box", [&] {
    // A click may end the program (Cancel, then Yes), which ends the send too.
    if (click->finished(kPollInterval) || !program->running()) return true;
    for (HWND box : messageBoxes()) {
      if (std::find(boxesBefore.begin(), boxesBefore.end(), box) == boxesBefore.end()) {
        clicksWaitingOnABox.push_back(std::move(click));
        return true;
      }
    }
    return false;
  });
}

HWND UiDriver::clickable(int controlId) {
  HWND target = control(controlId);
  const std::string what = "a click on control " + std::to_string(controlId);
  check(IsWindowVisible(target) != FALSE, "control " + std::to_string(controlId) + " is visible for " + what);
  check(IsWindowEnabled(target) != FALSE, "control " + std::to_string(controlId) + " is enabled for " + what);
  return target;
}

void UiDriver::click(int controlId) {
  clickWindow(clickable(controlId), "a click on control " + std::to_string(controlId));
}

void UiDriver::clickAndRunUntil(int controlId, const std::string& what, const std::function<bool()>& holds) {
  clicksLeftToReturn.push_back(std::make_unique<BackgroundClick>(clickable(controlId)));
  runUntil(program->handle(), what, holds);
}

void UiDriver::setChecked(int controlId, bool checked) {
  if (isChecked(controlId) != checked) click(controlId);
  checkEqual(isChecked(controlId), checked, "check state of control " + std::to_string(controlId));
}

HWND UiDriver::waitForDialog(const std::string& caption) { return waitForDialog(std::vector<std::string>{caption}); }

HWND UiDriver::waitForDialog(const std::vector<std::string>& captions) {
  HWND box = nullptr;
  std::string named;
  for (const std::string& caption : captions) named += (named.empty() ? "\"" : " or \"") + caption + "\"";
  // Another of its dialogs may still stand (the uninstaller's progress under
  // its report): the one with such a caption is meant.
  waitFor("a dialog " + named, [&] {
    for (HWND candidate : messageBoxes()) {
      if (std::find(captions.begin(), captions.end(), windowText(candidate)) != captions.end()) box = candidate;
    }
    return box != nullptr;
  });
  return box;
}

void UiDriver::clickAnswer(HWND box, int buttonId) {
  HWND answer = GetDlgItem(box, buttonId);
  check(answer != nullptr && IsWindowVisible(answer), "the dialog has button " + std::to_string(buttonId));
  clickWindow(answer, "the answer " + std::to_string(buttonId));

  // The click that opened the box returns once the page has acted on the
  // answer, unless acting on it opens the next box (a question, then what it
  // came to): that click then waits on that box in turn.
  while (!clicksWaitingOnABox.empty()) {
    const DWORD start = GetTickCount();
    while (!clicksWaitingOnABox.back()->finished(kPollInterval) && program->running()) {
      const std::vector<HWND> open = messageBoxes();
      if (std::find(open.begin(), open.end(), box) == open.end() && !open.empty()) return;
      if (GetTickCount() - start > kTimeLimit) throw ScenarioFailure("the click that opened the box never returned");
    }
    clicksWaitingOnABox.pop_back();
  }
}

void UiDriver::answerMessageBox(const std::string& caption, const std::string& text, int buttonId) {
  HWND box = waitForDialog(caption);
  checkEqual(messageText(box), text, "message box text");
  clickAnswer(box, buttonId);
}

std::string UiDriver::messageText(HWND box) {
  // The text is the box's one static control with text; the icon has none.
  std::string shown;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (lstrcmpiA(windowClass(child).c_str(), "Static") == 0) shown += windowText(child);
  }
  return shown;
}

std::string captionAndText(const std::string& caption, const std::string& text) { return caption + "\n" + text; }

std::string UiDriver::captionAndText(HWND box) { return ::captionAndText(windowText(box), messageText(box)); }

void UiDriver::answerDialog(const std::string& caption, int buttonId) { clickAnswer(waitForDialog(caption), buttonId); }

std::string UiDriver::text(int controlId) { return windowText(control(controlId)); }

bool UiDriver::isChecked(int controlId) {
  return windowAnswer(control(controlId), BM_GETCHECK) == BST_CHECKED;
}

bool UiDriver::isEnabled(int controlId) { return IsWindowEnabled(control(controlId)) != FALSE; }

bool UiDriver::isVisible(int controlId) { return IsWindowVisible(control(controlId)) != FALSE; }

int UiDriver::visibleWindowCount() const { return static_cast<int>(program->topLevelWindows(true).size()); }

void UiDriver::expectExit(DWORD exitCode, const std::string& what) {
  if (!program->waitForEnd(kTimeLimit)) {
    throw ScenarioFailure("the program was still running " + std::to_string(kTimeLimit / 1000) +
                          " s after it should have ended: " + what);
  }
  checkEqual(static_cast<long long>(program->exitCode()), exitCode, "exit code " + what);
  accountedFor = true;
}

void UiDriver::endFromOutside() {
  program->terminate();
  accountedFor = true;
}

void UiDriver::screenshot(const std::string& name, HWND shown) {
  if (shown == nullptr) shown = window;
  check(shown != nullptr, "a window was waited for before its screenshot");
  // Everything painted and on the screen before the pixels are read.
  RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(shown, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeLimit, &ignored);
  Sleep(500);
  std::filesystem::create_directories(screenshots);
  const std::string path = screenshots + "\\" + name + ".png";
  check(writePng(path, captureWindow(shown)), "the screenshot " + path + " is written");
  std::cout << "Screenshot " << name << ": " << path << std::endl;
}
