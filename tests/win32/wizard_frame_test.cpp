// The wizard frame on real windows: the program's own frame template, and
// pages that record every call the frame makes and can act inside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "page_position.h"
#include "resource_ids.h"
#include "wizard_ui_impl.h"

namespace {

using Escort::WizardUI;
using Action = std::function<int(WizardUI*)>;

// A page that logs "<name>.<slot>" for every call and runs the action set for
// a slot, whose result it returns; without one it returns 0.
class RecordingPage final : public Escort::WizardUIPage {
 public:
  RecordingPage(std::string name, std::vector<std::string>& calls) : name(std::move(name)), calls(calls) {}

  WORD dialogTemplate() override { return IDD_PAGE_TYPE; }
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
    return 0;
  }
  int onLeave(WizardUI* frame, HWND) override { return call("onLeave", frame); }
  void onDestroy(WizardUI* frame, HWND) override { call("onDestroy", frame); }

  std::map<std::string, Action> actions;
  HWND window = nullptr;
  int timesShown = 0;

 private:
  int call(const std::string& slot, WizardUI* frame) {
    calls.push_back(name + "." + slot);
    const auto action = actions.find(slot);
    return action == actions.end() ? 0 : action->second(frame);
  }

  std::string name;
  std::vector<std::string>& calls;
};

using Calls = std::vector<std::string>;

// Quit messages waiting in this thread's queue; there is one flag, not a count.
int takeQuitMessages() {
  int count = 0;
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++count;
  return count;
}

// Dispatches what is queued, as the program's message loop would.
void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
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

  // Adds `count` pages; call run() afterwards, or use start().
  void addPages(int count) {
    for (int index = 0; index < count; ++index) {
      pages.emplace_back("page" + std::to_string(index), calls);
      ASSERT_TRUE(frame.addPage(&pages.back()));
    }
  }
  void start(int count) {
    addPages(count);
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

TEST_F(WizardFrame, BackIsDisabledOnTheFirstPageOnly) {
  start(3);
  for (int index : {0, 1, 2, 1, 0, 2}) {
    ASSERT_TRUE(frame.goToPage(index));
    EXPECT_EQ(enabled(IDC_BACK), index != 0) << "page " << index;
    EXPECT_TRUE(enabled(IDC_NEXT)) << "page " << index;
    EXPECT_TRUE(enabled(IDCANCEL)) << "page " << index;
  }
}

TEST_F(WizardFrame, FinishTakesNextsPlaceOnTheLastPageOnly) {
  start(3);
  for (int index : {0, 2, 1, 2, 0}) {
    ASSERT_TRUE(frame.goToPage(index));
    EXPECT_EQ(visible(IDC_NEXT), index != 2) << "page " << index;
    EXPECT_EQ(visible(IDC_FINISH), index == 2) << "page " << index;
  }
}

TEST_F(WizardFrame, FinishIsEnabledAndDisabledWithNext) {
  start(2);
  const struct {
    int state;
    bool enabled;
  } cases[] = {{Escort::Disabled, false}, {Escort::Unchanged, false}, {Escort::Enabled, true},
               {Escort::Unchanged, true}, {Escort::Disabled, false}, {Escort::Default, true}};
  for (const auto& c : cases) {
    ASSERT_TRUE(frame.enableButtons(Escort::Unchanged, Escort::Unchanged, c.state));
    EXPECT_EQ(enabled(IDC_NEXT), c.enabled) << "state " << c.state;
    EXPECT_EQ(enabled(IDC_FINISH), c.enabled) << "state " << c.state;
  }
}

TEST_F(WizardFrame, GoingToTheCurrentPageLeavesAndEntersItAgain) {
  start(3);
  ASSERT_TRUE(frame.goToPage(1));
  calls.clear();
  const int shownBefore = page(1).timesShown;
  ASSERT_TRUE(frame.goToPage(frame.currentPage()));
  EXPECT_EQ(calls, (Calls{"page1.onLeave", "page1.onEnter"}));
  EXPECT_EQ(page(1).timesShown, shownBefore + 1);
  EXPECT_TRUE(IsWindowVisible(page(1).window));
}

TEST_F(WizardFrame, StepsBeyondThePagesChangeNothing) {
  const struct {
    const char* step;
    int from;
    std::function<bool(WizardUI&)> take;
  } cases[] = {
      {"next() on the last page", 2, [](WizardUI& f) { return f.next(); }},
      {"back() on the first page", 0, [](WizardUI& f) { return f.back(); }},
      {"goToPage(-1)", 1, [](WizardUI& f) { return f.goToPage(-1); }},
      {"goToPage(3) of 3", 1, [](WizardUI& f) { return f.goToPage(3); }},
  };
  start(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    ASSERT_TRUE(frame.goToPage(c.from));
    frame.enableButtons(Escort::Disabled, Escort::Enabled, Escort::Disabled);
    calls.clear();
    EXPECT_FALSE(c.take(frame));
    EXPECT_EQ(calls, Calls{});
    EXPECT_EQ(frame.currentPage(), c.from);
    EXPECT_TRUE(IsWindowVisible(page(c.from).window));
    EXPECT_FALSE(enabled(IDCANCEL));
    EXPECT_TRUE(enabled(IDC_BACK));
    EXPECT_FALSE(enabled(IDC_NEXT));
  }
}

TEST_F(WizardFrame, NextThatThePageHandlesMovesNoFurther) {
  const struct {
    const char* page;
    Action onNext;
    int endsOn;
  } cases[] = {
      {"refuses", [](WizardUI*) { return 1; }, 0},
      {"moves by itself", [](WizardUI* f) { return f->goToPage(2) ? 1 : 0; }, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    restart();
    start(4);
    page(0).actions["onNext"] = c.onNext;
    click(IDC_NEXT);
    EXPECT_EQ(frame.currentPage(), c.endsOn);
    EXPECT_EQ(count("page1.onEnter"), 0);
    EXPECT_EQ(count("page0.onNext"), 1);
    EXPECT_TRUE(IsWindowVisible(page(c.endsOn).window));
  }
}

TEST_F(WizardFrame, PageThatMovesOnFromOnEnterIsNeverShown) {
  addPages(3);
  page(1).actions["onEnter"] = [](WizardUI* f) { return f->next() ? 1 : 0; };
  ASSERT_TRUE(frame.run());
  calls.clear();
  click(IDC_NEXT);
  EXPECT_EQ(calls, (Calls{"page0.onNext", "page0.onLeave", "page1.onEnter", "page1.onLeave", "page2.onEnter"}));
  EXPECT_EQ(frame.currentPage(), 2);
  EXPECT_EQ(page(1).timesShown, 0);
  EXPECT_FALSE(IsWindowVisible(page(1).window));
  EXPECT_TRUE(IsWindowVisible(page(2).window));
  EXPECT_TRUE(visible(IDC_FINISH));
  EXPECT_FALSE(visible(IDC_NEXT));
}

TEST_F(WizardFrame, CloseFromInsideACallbackEndsEverythingOnce) {
  const auto closing = [](WizardUI* f) {
    f->close();
    return 1;
  };
  const struct {
    const char* slot;
    int page;
    std::function<void()> trigger;
  } cases[] = {
      {"onCancel", 0, [this] { click(IDCANCEL); }},
      {"onFinish", 2, [this] {
         frame.goToPage(2);
         click(IDC_FINISH);
       }},
      {"onEnter", 1, [this] { click(IDC_NEXT); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    restart();
    start(3);
    page(c.page).actions[c.slot] = closing;
    takeQuitMessages();
    const HWND frameHandle = frameWindow();
    c.trigger();

    EXPECT_FALSE(IsWindow(frameHandle));
    for (int index = 0; index <= lastIndex(); ++index) {
      EXPECT_FALSE(IsWindow(page(index).window)) << "page " << index;
      EXPECT_EQ(count("page" + std::to_string(index) + ".onDestroy"), 1) << "page " << index;
    }
    // The page that closed is left once, and nothing else happens after the destroys.
    EXPECT_EQ(count("page" + std::to_string(c.page) + ".onLeave"), 1);
    const auto firstDestroy = std::find(calls.begin(), calls.end(), "page0.onDestroy");
    EXPECT_EQ(calls.end() - firstDestroy, 3);
    EXPECT_EQ(frame.currentPage(), -1);
    EXPECT_EQ(takeQuitMessages(), 1);
  }
}

TEST_F(WizardFrame, PagesAreCentredAcrossAndHangFromTheAnchor) {
  start(3);
  RECT frameRect, anchor;
  GetWindowRect(frameWindow(), &frameRect);
  GetWindowRect(control(IDC_PAGE_ANCHOR), &anchor);
  MapWindowPoints(nullptr, frameWindow(), reinterpret_cast<POINT*>(&anchor), 2);
  ASSERT_GT(anchor.top, 0);
  for (int index = 0; index <= lastIndex(); ++index) {
    RECT pageRect;
    GetWindowRect(page(index).window, &pageRect);
    const int pageWidth = pageRect.right - pageRect.left;
    MapWindowPoints(nullptr, frameWindow(), reinterpret_cast<POINT*>(&pageRect), 2);
    EXPECT_EQ(pageRect.left, (frameRect.right - frameRect.left - pageWidth) / 2) << "page " << index;
    EXPECT_EQ(pageRect.top, anchor.top) << "page " << index;
  }
}

TEST_F(WizardFrame, CaptionCloseBoxActsAsCancelOnlyWhileCancelIsEnabled) {
  for (bool cancelEnabled : {true, false}) {
    SCOPED_TRACE(cancelEnabled ? "Cancel enabled" : "Cancel disabled");
    restart();
    addPages(2);
    if (!cancelEnabled) {
      page(0).actions["onEnter"] = [](WizardUI* f) {
        return f->enableButtons(Escort::Disabled, Escort::Unchanged, Escort::Unchanged) ? 1 : 0;
      };
    }
    ASSERT_TRUE(frame.run());
    ASSERT_EQ(enabled(IDCANCEL), cancelEnabled);
    calls.clear();
    SendMessageA(frameWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages();
    EXPECT_EQ(calls, cancelEnabled ? Calls{"page0.onCancel"} : Calls{});
    EXPECT_TRUE(IsWindowVisible(frameWindow()));
    EXPECT_EQ(frame.currentPage(), 0);
  }
}

}  // namespace
