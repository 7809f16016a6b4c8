// The wizard frame from the keyboard: the tab order, where the focus goes, and
// what Enter presses, with keys handled as the program's message loop does.
#include "wizard_frame_fixture.h"

namespace {

// Every page made from the program directory page's template has a Change... button.
const WORD kPageWithAButton = IDD_PAGE_KESTREL_DIR;
// The welcome page's template has no control that takes the focus.
const WORD kPageWithoutFocus = IDD_PAGE_WELCOME;
// The finished page's template starts with a check box.
const WORD kPageWithABox = IDD_PAGE_FINISHED;

TEST_F(WizardFrame, TabGoesThroughThePageThenBackNextAndCancel) {
  start(3, kPageWithAButton);
  ASSERT_TRUE(frame.goToPage(1));
  const HWND change = GetDlgItem(page(1).window, IDC_KESTREL_DIR_CHANGE);
  const HWND back = control(IDC_BACK), next = control(IDC_NEXT), cancel = control(IDCANCEL);
  // Round trips from the page's button: the hidden pages' buttons never come.
  const struct {
    const char* keys;
    bool shift;
    bool backEnabled;
    std::vector<HWND> focused;
  } cases[] = {
      {"Tab", false, true, {back, next, cancel, change}},
      {"Shift+Tab", true, true, {cancel, next, back, change}},
      {"Tab past a disabled Back", false, false, {next, cancel, change}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    frame.enableButtons(Escort::Unchanged, c.backEnabled ? Escort::Enabled : Escort::Disabled, Escort::Unchanged);
    ASSERT_EQ(GetFocus(), change);
    std::vector<HWND> focused;
    for (size_t step = 0; step < c.focused.size(); ++step) {
      pressKey(VK_TAB, c.shift);
      focused.push_back(GetFocus());
    }
    EXPECT_EQ(focused, c.focused);
  }
}

TEST_F(WizardFrame, NewPageFocusesItsFirstControlElseNext) {
  const auto disableNext = [](WizardUI* f) {
    return f->enableButtons(Escort::Unchanged, Escort::Unchanged, Escort::Disabled) ? 1 : 0;
  };
  const struct {
    const char* page;
    WORD templateId;
    int index;
    bool nextDisabled;
    int focusedId;  // on the page when it has such a control, else on the frame; 0: none
  } cases[] = {
      {"with a button", kPageWithAButton, 1, false, IDC_KESTREL_DIR_CHANGE},
      {"without a control that takes focus", kPageWithoutFocus, 1, false, IDC_NEXT},
      {"the last, without one", kPageWithoutFocus, 2, false, IDC_FINISH},
      {"without one, Next disabled", kPageWithoutFocus, 1, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    restart();
    addPages(3, c.templateId);
    if (c.nextDisabled) page(c.index).actions["onEnter"] = disableNext;
    ASSERT_TRUE(frame.run());
    ASSERT_TRUE(frame.goToPage(c.index));
    HWND expected = nullptr;
    if (c.focusedId != 0) {
      expected = GetDlgItem(page(c.index).window, c.focusedId);
      if (expected == nullptr) expected = control(c.focusedId);
    }
    EXPECT_EQ(GetFocus(), expected);
  }
}

TEST_F(WizardFrame, DisabledButtonGivesUpTheFocus) {
  const struct {
    const char* page;
    WORD templateId;
    int focusedId;  // on the page; 0: none
  } cases[] = {
      {"with a button", kPageWithAButton, IDC_KESTREL_DIR_CHANGE},
      {"without a control that takes focus", kPageWithoutFocus, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    restart();
    start(2, c.templateId);
    SendMessageA(frameWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(IDC_NEXT)), TRUE);
    ASSERT_EQ(GetFocus(), control(IDC_NEXT));
    frame.enableButtons(Escort::Unchanged, Escort::Unchanged, Escort::Disabled);
    EXPECT_EQ(GetFocus(), c.focusedId != 0 ? GetDlgItem(page(0).window, c.focusedId) : nullptr);
  }
}

TEST_F(WizardFrame, EnterPressesTheShownNextOrFinishOnlyWhileEnabled) {
  const struct {
    const char* button;
    int index;
    int state;
    Calls calls;
    int endsOn;
  } cases[] = {
      {"Next", 1, Escort::Enabled, {"page1.onNext", "page1.onLeave", "page2.onEnter"}, 2},
      {"Next disabled", 1, Escort::Disabled, {}, 1},
      {"Finish", 2, Escort::Enabled, {"page2.onFinish"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    restart();
    start(3, kPageWithABox);
    ASSERT_TRUE(frame.goToPage(c.index));
    frame.enableButtons(Escort::Unchanged, Escort::Unchanged, c.state);
    ASSERT_EQ(GetFocus(), GetDlgItem(page(c.index).window, IDC_FINISHED_README));
    calls.clear();
    pressKey(VK_RETURN);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(frame.currentPage(), c.endsOn);
  }
}

TEST_F(WizardFrame, EnterOnAPagesButtonPressesItForThePage) {
  start(2, kPageWithAButton);
  ASSERT_EQ(GetFocus(), GetDlgItem(page(0).window, IDC_KESTREL_DIR_CHANGE));
  page(0).commands.clear();
  pressKey(VK_RETURN);
  EXPECT_EQ(page(0).commands, std::vector<int>{IDC_KESTREL_DIR_CHANGE});
  EXPECT_EQ(calls, Calls{});
  EXPECT_EQ(frame.currentPage(), 0);
}

}  // namespace
