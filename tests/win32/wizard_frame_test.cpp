// The wizard frame on real windows: the program's own frame template, and
// pages that record every call the frame makes and can act inside it.
#include "wizard_frame_fixture.h"

namespace {

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

// The caption's close box, Esc and Alt+F4 ask the page as Cancel does, and
// only while Cancel is enabled.
TEST_F(WizardFrame, CloseBoxEscAndAltF4ActAsCancelOnlyWhileCancelIsEnabled) {
  const struct {
    const char* way;
    std::function<void()> take;
  } ways[] = {
      {"close box", [this] {
         SendMessageA(frameWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
         pumpMessages();
       }},
      {"Esc", [] { pressKey(VK_ESCAPE); }},
      {"Alt+F4", [] { pressKey(VK_F4, false, true); }},
  };
  for (const auto& way : ways) {
    for (bool cancelEnabled : {true, false}) {
      SCOPED_TRACE(std::string(way.way) + (cancelEnabled ? ", Cancel enabled" : ", Cancel disabled"));
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
      way.take();
      EXPECT_EQ(calls, cancelEnabled ? Calls{"page0.onCancel"} : Calls{});
      EXPECT_TRUE(IsWindowVisible(frameWindow()));
      EXPECT_EQ(frame.currentPage(), 0);
    }
  }
}

}  // namespace
