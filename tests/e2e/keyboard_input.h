#pragma once
// Keys as a keyboard gives them to the setup program: posted into its queue
// for the window that has the focus in its main thread, where its message
// loop translates them. With no window focused, Windows gives the keys to the
// active window as system keys, and so does this.
#include <windows.h>

#include <vector>

#include "ui_driver.h"

struct Keystroke {
  UINT key;          // virtual-key code; letters and digits are their capitals
  bool alt = false;  // held down with Alt
};

// Presses and releases one key.
void press(UiDriver& setup, Keystroke stroke);
// Keys typed while the program is busy: the program's main thread is held
// until all of them are posted, in order, to the window focused when the
// first was pressed, so that it takes them one after the other from its queue.
void typeAhead(UiDriver& setup, const std::vector<Keystroke>& strokes);
// Waits until the control `controlId`, shown on the current page or on the
// frame (or in the dialog the program shows), has the keyboard focus.
void waitForFocus(UiDriver& setup, int controlId);
