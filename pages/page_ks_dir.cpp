#include "page_ks_dir.h"

#include <objbase.h>
#include <shlobj.h>

#include "browsed_folder.h"
#include "machine_registry_text.h"
#include "module_strings.h"
#include "product_names.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "text_format.h"

namespace {
const char kFallbackProgramFiles[] = "C:\\Program Files";
const char kDefaultDirectoryName[] = "Kestrel3";
// Posted to the page as it becomes current: by then the frame has given the
// page's first control the focus, which this moves on to Next.
const UINT kFocusNext = WM_APP + 1;
}  // namespace

WORD PageKSDir::dialogTemplate() { return IDD_PAGE_KESTREL_DIR; }

void PageKSDir::onCreate(Escort::WizardUI* frame, HWND window) {
  // Balanced by onDestroy; the result does not matter, since a thread that
  // already has this apartment gets it again.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  setProgramDir(frame, window, proposedProgramDir());
  KS3Page::onCreate(frame, window);
}

int PageKSDir::onEnter(Escort::WizardUI* frame, HWND window) {
  PostMessageA(window, kFocusNext, 0, 0);
  return KS3Page::onEnter(frame, window);
}

std::string PageKSDir::proposedProgramDir() {
  std::string directory;
  readMachineText(kProgramSettingsKey, kProgramDirValue, directory);
  if (directory.empty()) {
    char programFiles[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles)) ||
        programFiles[0] == '\0')
      lstrcpynA(programFiles, kFallbackProgramFiles, sizeof programFiles);
    directory = programFiles;
    ensureTrailingBackslash(directory);
    directory += kDefaultDirectoryName;
  }
  ensureTrailingBackslash(directory);
  return directory;
}

void PageKSDir::setProgramDir(Escort::WizardUI* frame, HWND window, const std::string& directory) {
  setupChoices(frame).programDir = directory;
  SetDlgItemTextA(window, IDC_KESTREL_DIR_PATH, directory.c_str());
}

int PageKSDir::onNext(Escort::WizardUI* frame, HWND window) {
  // The uninstaller removes nothing from a network share (its events there
  // are refused as no installation's), so nothing may be installed there.
  const std::string& directory = setupChoices(frame).programDir;
  if (isNetworkPath(directory)) {
    const std::string text = fillIn(loadString(IDS_ERROR_NETWORK_FOLDER), {directory});
    MessageBoxA(window, text.c_str(), loadString(IDS_ERROR_CAPTION).c_str(), MB_OK);
    return 1;
  }
  // A computer that runs only the add-on has no simulator to choose.
  if (setupChoices(frame).installType == KestrelComputer)
    frame->goToPage(frame->currentPage() + 2);
  else
    frame->next();
  return 1;
}

INT_PTR PageKSDir::onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_KESTREL_DIR_CHANGE) {
    browseForProgramDir(frame, window);
    return 1;
  }
  if (message == kFocusNext) {
    const HWND frameWindow = GetParent(window);
    const HWND next = GetDlgItem(frameWindow, IDC_NEXT);
    // Through the dialog manager, which also moves the default button's frame.
    if (IsWindowVisible(next) && IsWindowEnabled(next))
      SendMessageA(frameWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    return 1;
  }
  return KS3Page::onMessage(frame, window, message, wParam, lParam);
}

void PageKSDir::browseForProgramDir(Escort::WizardUI* frame, HWND window) {
  // No root, no title, no callback: the browser opens where it likes, not at
  // the current directory.
  BROWSEINFOA browse = {};
  browse.hwndOwner = window;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  // Cancelled, or a choice with no file system path: the directory stays, never emptied.
  const std::string chosen = takeBrowsedFolder(SHBrowseForFolderA(&browse));
  if (!chosen.empty()) setProgramDir(frame, window, chosen);
}

void PageKSDir::onDestroy(Escort::WizardUI* frame, HWND window) {
  CoUninitialize();
  KS3Page::onDestroy(frame, window);
}
