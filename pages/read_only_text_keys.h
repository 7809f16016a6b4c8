#pragma once
#include <windows.h>

// A multi-line edit control claims every key from the dialog manager, as a box
// one types into must, and hands Tab, Enter and Esc to its own parent itself.
// On a page that parent is the page, not the frame that has the buttons and
// the tab order, so those keys would go nowhere. A read-only box needs only
// the keys that scroll it: after this call it leaves the rest to the dialog
// manager, and Tab, Enter and Esc work there as on any other control.
void leaveDialogKeysToDialog(HWND readOnlyBox);
