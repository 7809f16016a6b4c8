#include "background_click.h"

namespace {
// Longer than any wait of a scenario: a click that hangs fails the scenario,
// which then ends the program, and that ends this send as well.
const UINT kSendLimit = 120000;
}  // namespace

BackgroundClick::BackgroundClick(HWND button) : thread(CreateThread(nullptr, 0, send, button, 0, nullptr)) {}

// The thread is left to finish by itself; it holds nothing of this object.
BackgroundClick::~BackgroundClick() { CloseHandle(thread); }

bool BackgroundClick::finished(DWORD milliseconds) const {
  return WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI BackgroundClick::send(void* button) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(static_cast<HWND>(button), BM_CLICK, 0, 0, SMTO_NORMAL, kSendLimit, &result);
  return 0;
}
