// A hook DLL that the driver sets on the setup program's main thread
// (WH_GETMESSAGE), where it sees every posted message as the program takes it
// from its queue to handle it, without changing what the program does:
// - KESTREL_PROGRESS_SHOT names a PNG file: once the worker's messages that
//   the page has taken tell of half the bytes written (the probe counts them
//   as the page does), the page is made to show them at once, as its refresh
//   timer would, and the frame is painted and saved there. The page comes and
//   goes faster than the driver could look, and this catches it mid-run.
// - KESTREL_DONE_PROBE names a text file: when the page takes WM_INSTALL_DONE,
//   one line is written with three GetTickCount times in milliseconds: when
//   the worker posted WM_INSTALL_TOTAL (its first message, once it had
//   measured) and WM_INSTALL_DONE (its last), each the time the system
//   stamped on the message, and when the page took WM_INSTALL_DONE: how long
//   the worker ran, and how far the page lags behind it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "install_messages.h"
#include "png_writer.h"
#include "resource_ids.h"
#include "screenshot.h"

namespace {

// The bytes of the run as the worker's messages tell them.
struct ByteCount {
  uint64_t total = 0, written = 0;

  void take(const MSG& message) {
    if (message.message == WM_INSTALL_TOTAL) total = message.wParam;
    if (message.message == WM_INSTALL_PROGRESS) written = message.wParam;
  }
  bool halfWritten() const { return total > 0 && 2 * written >= total; }
};

void shootProgressPage(HWND page, const char* path) {
  // The page redraws its controls every 50 ms at most; a short run may not
  // have shown anything since its start.
  SendMessageA(page, WM_TIMER, IDT_PROGRESS_REFRESH, 0);
  HWND frame = GetParent(page);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  writePng(path, captureOwnWindow(frame));
}

void recordDone(DWORD totalPosted, const MSG& message, const char* path) {
  const DWORD taken = GetTickCount();
  if (FILE* out = std::fopen(path, "wb")) {
    std::fprintf(out, "%lu %lu %lu\n", static_cast<unsigned long>(totalPosted),
                 static_cast<unsigned long>(message.time), static_cast<unsigned long>(taken));
    std::fclose(out);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  static bool shot = false;
  static DWORD totalPosted = 0;
  static ByteCount bytes;
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    bytes.take(message);
    const char* shotPath = shot ? nullptr : std::getenv("KESTREL_PROGRESS_SHOT");
    if (shotPath != nullptr && bytes.halfWritten()) {
      shot = true;
      shootProgressPage(message.hwnd, shotPath);
    }
    if (message.message == WM_INSTALL_TOTAL) totalPosted = message.time;
    if (message.message == WM_INSTALL_DONE) {
      if (const char* record = std::getenv("KESTREL_DONE_PROBE")) recordDone(totalPosted, message, record);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
