#include "keyboard_input.h"

#include "scenario.h"
#include "window_text.h"

namespace {

// Bits of a key message's lParam besides the repeat count and the scan code.
const LPARAM kAltHeld = 0x20000000;
const LPARAM kReleased = static_cast<LPARAM>(0xC0000000u);  // the key was down and goes up

GUITHREADINFO programInput(UiDriver& setup) {
  GUITHREADINFO input = {};
  input.cbSize = sizeof input;
  check(GetGUIThreadInfo(setup.process().threadId(), &input) != FALSE, "the program's keyboard state can be read");
  return input;
}

// Where a key pressed now goes, and whether as a system key.
struct KeyTarget {
  HWND window;
  bool systemKey;
};

KeyTarget keyTarget(UiDriver& setup) {
  const GUITHREADINFO input = programInput(setup);
  if (input.hwndFocus != nullptr) return {input.hwndFocus, false};
  check(input.hwndActive != nullptr, "the program has a focused or an active window for the keyboard");
  return {input.hwndActive, true};
}

void post(KeyTarget target, Keystroke stroke) {
  const bool systemKey = target.systemKey || stroke.alt;
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(stroke.key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM down = 1 | scanCode | (stroke.alt ? kAltHeld : 0);
  const WPARAM key = static_cast<WPARAM>(stroke.key);
  PostMessageA(target.window, systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  PostMessageA(target.window, systemKey ? WM_SYSKEYUP : WM_KEYUP, key, down | kReleased);
}

std::string describe(HWND window) {
  if (window == nullptr) return "no window";
  return windowClass(window) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" + windowText(window) + "\"";
}

}  // namespace

void press(UiDriver& setup, Keystroke stroke) { post(keyTarget(setup), stroke); }

void typeAhead(UiDriver& setup, const std::vector<Keystroke>& strokes) {
  setup.process().suspend();
  const KeyTarget target = keyTarget(setup);
  for (const Keystroke& stroke : strokes) post(target, stroke);
  setup.process().resume();
}

void waitForFocus(UiDriver& setup, int controlId) {
  const std::string what = "control " + std::to_string(controlId);
  try {
    setup.waitFor(what + " to have the focus", [&] {
      HWND focus = programInput(setup).hwndFocus;
      return focus != nullptr && GetDlgCtrlID(focus) == controlId && IsWindowVisible(focus);
    });
  } catch (const ScenarioFailure& failure) {
    throw ScenarioFailure(std::string(failure.what()) + "; the focus is on " +
                          describe(programInput(setup).hwndFocus));
  }
}
