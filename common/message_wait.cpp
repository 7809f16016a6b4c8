#include "message_wait.h"

void waitLettingMessagesThrough(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
  }
}
