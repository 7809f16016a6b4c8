#include "dialog_message.h"

namespace Escort {

void dispatchWizardMessage(MSG& message) {
  // Thread messages have no window, and so no dialog.
  HWND dialog = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (dialog != nullptr && IsDialogMessageA(dialog, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace Escort
