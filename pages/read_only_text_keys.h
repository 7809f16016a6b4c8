#pragma once
#include <windows.h>

// A multi-line edit control claims every key from the dialog manager, as a box
// one types into must, and hands Tab, Enter and Esc to its own parent itself.
// On a page that parent is the page, not the frame that has the buttons and
// the tab order, so those keys would go nowhere. The dialog manager also
// selects an edit control's whole text when the focus comes to it, which
// scrolls a long text to its end. A read-only box needs neither: after this
// call it keeps only the keys that scroll it, Tab, Enter and Esc work there as
// on any other control, and the text stays where the reader left it.
void leaveDialogKeysToDialog(HWND readOnlyBox);
