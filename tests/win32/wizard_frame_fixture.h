#pragma once
// Frames made from the program's own frame template, with pages that record
// every call the frame makes and can act inside it; messages are handled as
// the program's message loop handles them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialog_message.h"
#include "page_position.h"
#include "resource_ids.h"
#include "wizard_ui_impl.h"

using Escort::WizardUI;
using Action = std::function<int(WizardUI*)>;
using Calls = std::vector<std::string>;

// A page that logs "<name>.<slot>" for every call and runs the action set for
// a slot, whose result it returns; without one it returns 0. Its dialog is
// made from one of the program's page templates.
class RecordingPage final : public Escort::WizardUIPage {
 public:
  RecordingPage(std::string name, Calls& calls, WORD templateId)
      : name(std::move(name)), calls(calls), templateId(templateId) {}

  WORD dialogTemplate() override { return templateId; }
  void onCreate(WizardUI* frame, HWND created) override {
    window = created;
    call("onCreate", frame);
  }
  int onEnter(WizardUI* frame, HWND) override { return call("onEnter", frame); }
  int onNext(WizardUI* frame, HWND) override { return call("onNext", frame); }
  int onBack(WizardUI* frame, HWND) override { return call("onBack", frame); }
  int onCancel(WizardUI* frame, HWND) override { return call("onCancel", frame); }
  int onFinish(WizardUI* frame, HWND) override { return call("onFinish", frame); }
  INT_PTR onMessage(WizardUI*, HWND, UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_SHOWWINDOW && wParam != 0) ++timesShown;
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return 0;
  }
  int onLeave(WizardUI* frame, HWND) override { return call("onLeave", frame); }
  void onDestroy(WizardUI* frame, HWND) override { call("onDestroy", frame); }

  std::map<std::string, Action> actions;
  HWND window = nullptr;
  int timesShown = 0;
  std::vector<int> commands;  // ids of the WM_COMMAND messages the page received

 private:
  int call(const std::string& slot, WizardUI* frame) {
    calls.push_back(name + "." + slot);
    const auto action = actions.find(slot);
    return action == actions.end() ? 0 : action->second(frame);
  }

  std::string name;
  Calls& calls;
  WORD templateId;
};

// Quit messages waiting in this thread's queue; there is one flag, not a count.
inline int takeQuitMessages() {
  int count = 0;
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++count;
  return count;
}

// Dispatches what is queued, as the program's message loop would.
inline void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Escort::dispatchWizardMessage(message);
  }
}

// A key pressed and released as the keyboard gives it: to the focused window,
// or as a system key to the active window when none has the focus; Shift and
// Alt held as asked. The queue is then dispatched.
inline void pressKey(UINT key, bool shift = false, bool alt = false) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  HWND focus = GetFocus();
  const bool systemKey = alt || focus == nullptr;
  HWND target = focus != nullptr ? focus : GetActiveWindow();
  const LPARAM down = 1 | (alt ? 0x20000000 : 0);
  PostMessageA(target, systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  PostMessageA(target, systemKey ? WM_SYSKEYUP : WM_KEYUP, key, down | static_cast<LPARAM>(0xC0000000u));
  pumpMessages();
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

class WizardFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame.create(GetModuleHandleA(nullptr), IDD_WIZARD_FRAME, IDC_NEXT, IDC_BACK, IDCANCEL,
                             IDC_FINISH, Escort::centredPosition(), Escort::anchorPosition(IDC_PAGE_ANCHOR)));
  }
  void TearDown() override {
    frame.close();
    takeQuitMessages();
  }

  // A new frame without pages, for tests that run several cases.
  void restart() {
    TearDown();
    pages.clear();
    calls.clear();
    SetUp();
  }

  // Adds `count` pages made from `templateId`; call run() afterwards, or use start().
  void addPages(int count, WORD templateId = IDD_PAGE_TYPE) {
    for (int index = 0; index < count; ++index) {
      pages.emplace_back("page" + std::to_string(pages.size()), calls, templateId);
      ASSERT_TRUE(frame.addPage(&pages.back()));
    }
  }
  void start(int count, WORD templateId = IDD_PAGE_TYPE) {
    addPages(count, templateId);
    ASSERT_TRUE(frame.run());
    calls.clear();
  }

  HWND frameWindow() { return GetParent(pages.front().window); }
  HWND control(int id) { return GetDlgItem(frameWindow(), id); }
  bool enabled(int id) { return IsWindowEnabled(control(id)) != FALSE; }
  bool visible(int id) { return IsWindowVisible(control(id)) != FALSE; }
  void click(int id) { SendMessageA(control(id), BM_CLICK, 0, 0); }
  int count(const std::string& call) { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }
  RecordingPage& page(int index) { return pages[index]; }
  int lastIndex() { return static_cast<int>(pages.size()) - 1; }

  Escort::WizardUIImpl frame;
  Calls calls;
  std::deque<RecordingPage> pages;  // stable addresses for the frame
};
