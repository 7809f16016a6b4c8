#pragma once
#include <windows.h>

namespace Escort {

// One step of the wizard's message loop. A message for a window of a dialog
// goes through the dialog manager of its top-level dialog, which makes the
// keyboard work as in any dialog (Tab, Enter, Esc, arrows, underlined
// letters) and otherwise translates and dispatches it; any other message is
// translated and dispatched here.
void dispatchWizardMessage(MSG& message);

}  // namespace Escort
