#include "read_only_text_keys.h"

namespace {

// The edit class's own procedure, the same for every edit control.
WNDPROC editProcedure = nullptr;

LRESULT CALLBACK readOnlyBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(editProcedure, box, message, wParam, lParam);
  return message == WM_GETDLGCODE ? result & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_HASSETSEL) : result;
}

}  // namespace

void leaveDialogKeysToDialog(HWND readOnlyBox) {
  editProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(readOnlyBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(readOnlyBoxProcedure)));
}
