#include "page_finished.h"

#include <shellapi.h>

#include <string>

#include "desktop_shell.h"
#include "documentation_address.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "text_format.h"

namespace {

const char kReadme[] = "readme.txt";

// As the user who started the setup program, through the desktop's shell;
// where there is none to ask, this program opens it itself. Neither is
// waited for, and a failure (no browser, no readme, no program for text
// files) is no reason to keep the wizard open: without SEE_MASK_FLAG_NO_UI
// the shell would report it in a box of its own, and the wizard would stay
// until the user closed that box. The program ends right after:
// SEE_MASK_NOASYNC lets a handler that passes the request on (DDE, a
// delegating verb) finish before the process goes, which otherwise cuts it
// off and nothing opens.
void openAsTheUser(HWND window, const std::string& file, const std::string& directory) {
  if (openThroughDesktopShell(file, directory)) return;
  SHELLEXECUTEINFOA open = {};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  open.hwnd = window;
  open.lpVerb = "open";
  open.lpFile = file.c_str();
  open.lpDirectory = directory.empty() ? nullptr : directory.c_str();
  open.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&open);
}

}  // namespace

WORD PageFinished::dialogTemplate() { return IDD_PAGE_FINISHED; }

void PageFinished::onCreate(Escort::WizardUI*, HWND window) {
  // The template lists the readme box first, though it stands below the user
  // guide's; Tab and the first focus go from top to bottom.
  SetWindowPos(GetDlgItem(window, IDC_FINISHED_README), GetDlgItem(window, IDC_FINISHED_USER_GUIDE), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int PageFinished::onEnter(Escort::WizardUI* frame, HWND window) {
  // The installation is over: there is nothing to go back to or cancel.
  frame->enableButtons(Escort::Disabled, Escort::Disabled, Escort::Unchanged);
  // A simulator computer has no program files, so no readme.
  const bool readme = installsProgramFiles(setupChoices(frame).installType);
  ShowWindow(GetDlgItem(window, IDC_FINISHED_README), readme ? SW_SHOW : SW_HIDE);
  return KS3Page::onEnter(frame, window);
}

int PageFinished::onFinish(Escort::WizardUI* frame, HWND window) {
  // The user guide first, then the readme.
  if (IsDlgButtonChecked(window, IDC_FINISHED_USER_GUIDE) == BST_CHECKED)
    openAsTheUser(window, documentationAddressWithoutSlash(), "");
  if (IsDlgButtonChecked(window, IDC_FINISHED_README) == BST_CHECKED) {
    // By its name, with the program directory as the working directory.
    std::string programDir = setupChoices(frame).programDir;
    ensureTrailingBackslash(programDir);
    openAsTheUser(window, kReadme, programDir);
  }
  setupChoices(frame).exitCode = kExitInstalled;
  KS3Page::onFinish(frame, window);
  return 1;
}
