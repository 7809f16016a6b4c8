#include "progress_dialog.h"

#include <commctrl.h>

#include "failure_text.h"
#include "message_wait.h"
#include "module_strings.h"
#include "programs_holding.h"
#include "progress_bar_class.h"
#include "text_format.h"
#include "uninstaller_ids.h"

namespace {

INT_PTR CALLBACK progressProc(HWND, UINT message, WPARAM, LPARAM) {
  // Nothing to do but exist: no buttons, and Escape or Alt+F4 must not end the run.
  return message == WM_INITDIALOG || message == WM_CLOSE ? TRUE : FALSE;
}

void letMessagesThrough(HWND dialog) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

ProgressDialog::ProgressDialog(HINSTANCE instance, const std::string& caption) {
  registerProgressBarClass();
  dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_UNINSTALL_PROGRESS), nullptr,
                              progressProc, 0);
  if (!dialog) return;
  SetWindowTextA(dialog, caption.c_str());
  letMessagesThrough(dialog);
}

ProgressDialog::~ProgressDialog() {
  if (dialog) DestroyWindow(dialog);
}

void ProgressDialog::progress(size_t done, size_t total, const std::string& description) {
  if (!dialog) return;
  // An empty registration still shows a full bar at the end.
  const size_t high = total > 0 ? total : 1;
  SendDlgItemMessageA(dialog, IDC_UNINSTALL_PROGRESS, PBM_SETRANGE32, 0, static_cast<LPARAM>(high));
  SendDlgItemMessageA(dialog, IDC_UNINSTALL_PROGRESS, PBM_SETPOS,
                      static_cast<WPARAM>(total > 0 ? done : 1), 0);
  SetDlgItemTextA(dialog, IDC_UNINSTALL_DESCRIPTION, description.c_str());
  letMessagesThrough(dialog);
}

void ProgressDialog::waitFor(const std::string& path, unsigned long ms) {
  if (dialog) SetDlgItemTextA(dialog, IDC_UNINSTALL_DESCRIPTION, fillIn(loadString(IDS_WAITING_FOR), {path}).c_str());
  waitLettingMessagesThrough(ms);
}

bool ProgressDialog::fileInUse(const std::string& path) {
  const std::string text = fillIn(loadString(IDS_FILE_IN_USE),
                                  {heldFileText(path, programsHolding(path), loadString(IDS_FILE_IN_USE_BY))});
  return MessageBoxA(dialog, text.c_str(), loadString(IDS_QUESTION_CAPTION).c_str(),
                     MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND) == IDRETRY;
}
