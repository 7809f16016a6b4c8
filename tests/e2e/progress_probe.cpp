// A hook DLL that the driver sets on the setup program's main thread
// (WH_GETMESSAGE), where it sees every posted message as the program takes it
// from its queue to handle it, without changing what the program does:
// - KESTREL_PROGRESS_SHOT names a PNG file: the first time the progress page
//   takes a worker message while its bar stands between 10% and 100%, the
//   frame is painted and saved there. The page comes and goes faster than the
//   driver could look, and this catches it mid-run.
// - KESTREL_DONE_PROBE names a text file: when the page takes WM_INSTALL_DONE,
//   one line is written with three GetTickCount times in milliseconds: when
//   the worker posted WM_INSTALL_TOTAL (its first message, once it had
//   measured) and WM_INSTALL_DONE (its last), each the time the system
//   stamped on the message, and when the page took WM_INSTALL_DONE: how long
//   the worker ran, and how far the page lags behind it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "install_messages.h"
#include "png_writer.h"
#include "resource_ids.h"
#include "screenshot.h"

namespace {

const LRESULT kShotFrom = 100;  // bar steps of 1000
const LRESULT kShotBefore = 1000;

bool isWorkerProgress(UINT message) {
  return message == WM_INSTALL_PROGRESS || message == WM_INSTALL_FILE_DONE;
}

void shootProgressPage(HWND page, const char* path) {
  HWND frame = GetParent(page);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  writePng(path, captureWindow(frame));
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
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    const char* path = shot ? nullptr : std::getenv("KESTREL_PROGRESS_SHOT");
    if (path != nullptr && isWorkerProgress(message.message)) {
      const LRESULT position = SendDlgItemMessageA(message.hwnd, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
      if (position >= kShotFrom && position < kShotBefore) {
        shot = true;
        shootProgressPage(message.hwnd, path);
      }
    }
    if (message.message == WM_INSTALL_TOTAL) totalPosted = message.time;
    if (message.message == WM_INSTALL_DONE) {
      if (const char* path = std::getenv("KESTREL_DONE_PROBE")) recordDone(totalPosted, message, path);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
