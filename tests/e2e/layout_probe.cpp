// A hook DLL that the driver sets on the setup program's main thread
// (WH_CALLWNDPROC): when the frame is sent the registered message
// kLayoutProbeMessage, it writes the wizard's layout (wizard_layout.h), as the
// program sees it then, to the file that KESTREL_LAYOUT_PROBE names, before
// the send returns to the driver. It changes nothing the program does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "setup_windows.h"
#include "wizard_layout.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK probeLayoutCall(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA(kLayoutProbeMessage);
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const char* path = std::getenv("KESTREL_LAYOUT_PROBE");
    if (call->message == request && path != nullptr) {
      const std::string text = formatLayout(measureWizard(call->hwnd));
      if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
