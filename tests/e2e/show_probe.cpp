// A hook DLL that the driver sets on the setup program's main thread: at the
// moment the wizard frame is first about to be shown, it writes every control
// of every page to the file that KESTREL_SHOW_PROBE names. Running in the
// program's own thread, it sees exactly what the pages hold before the user
// can see anything.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "page_snapshot.h"
#include "setup_windows.h"
#include "window_text.h"

namespace {

bool isFrameBeingShown(const CWPSTRUCT& call) {
  return call.message == WM_SHOWWINDOW && call.wParam != 0 && GetParent(call.hwnd) == nullptr &&
         windowClass(call.hwnd) == kDialogClass && windowText(call.hwnd) == kFrameCaption;
}

void record(HWND frame) {
  const char* path = std::getenv("KESTREL_SHOW_PROBE");
  if (path == nullptr) return;
  const std::string text = formatSnapshot(snapshotPages(frame));
  if (FILE* out = std::fopen(path, "wb")) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  static bool recorded = false;
  if (code == HC_ACTION && !recorded) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (isFrameBeingShown(*call)) {
      recorded = true;
      record(call->hwnd);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
