#include "page_type.h"

#include <string>

#include "destination_check.h"
#include "machine_registry_text.h"
#include "module_strings.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "setup_texts.h"
#include "text_format.h"

namespace {

const char kFs2002Key[] = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
const char kFs2004Key[] = "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
const char kFolderValue[] = "EXE Path";

// The radio buttons in the order of the installation types.
const struct {
  int buttonId;
  InstallType type;
} kTypeButtons[] = {
    {IDC_TYPE_ONE_COMPUTER, OneComputer},
    {IDC_TYPE_KESTREL_COMPUTER, KestrelComputer},
    {IDC_TYPE_SIMULATOR_COMPUTER, SimulatorComputer},
};

}  // namespace

WORD PageType::dialogTemplate() { return IDD_PAGE_TYPE; }

void PageType::onCreate(Escort::WizardUI* frame, HWND window) {
  // The buttons' group begins with the text above them, where the arrow keys
  // would stop; a group of their own keeps the arrows among the three.
  HWND first = GetDlgItem(window, kTypeButtons[0].buttonId);
  SetWindowLongA(first, GWL_STYLE, GetWindowLongA(first, GWL_STYLE) | WS_GROUP);
  CheckRadioButton(window, IDC_TYPE_ONE_COMPUTER, IDC_TYPE_SIMULATOR_COMPUTER, IDC_TYPE_ONE_COMPUTER);
  readInstallType(frame, window);
}

INT_PTR PageType::onMessage(Escort::WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    for (const auto& button : kTypeButtons) {
      if (LOWORD(wParam) == button.buttonId) {
        readInstallType(frame, window);
        return 1;
      }
    }
  }
  return KS3Page::onMessage(frame, window, message, wParam, lParam);
}

void PageType::readInstallType(Escort::WizardUI* frame, HWND window) {
  for (const auto& button : kTypeButtons) {
    if (IsDlgButtonChecked(window, button.buttonId) == BST_CHECKED) {
      setupChoices(frame).installType = button.type;
      return;
    }
  }
}

bool PageType::detectSimulators(HWND window, SetupChoices& choices, bool tell) {
  // Read anew on every Next; a folder once found is never cleared.
  readMachineText(kFs2002Key, kFolderValue, choices.fs2002Dir);
  readMachineText(kFs2004Key, kFolderValue, choices.fs2004Dir);
  // A registered folder that no installation can go into (a drive that is not
  // there, a network folder) counts as no simulator, and the user is told why.
  const auto usable = [&](const char* version, const std::string& folder) {
    if (folder.empty()) return false;
    const DestinationTrouble trouble = folderTrouble(folder);
    if (trouble == DestinationTrouble::None) return true;
    if (tell) {
      const std::string text =
          fillIn(loadString(IDS_SIMULATOR_FOLDER_UNUSABLE), {version, folder, destinationReason(trouble, folder)});
      MessageBoxA(window, text.c_str(), loadString(IDS_ERROR_CAPTION).c_str(), MB_OK);
      told = true;
    }
    return false;
  };
  told = false;
  const bool fs2002 = usable("2002", choices.fs2002Dir);
  const bool fs2004 = usable("2004", choices.fs2004Dir);
  if (!fs2002 && !fs2004) return false;
  // With both installed neither is chosen yet: the version page asks.
  choices.useFs2002 = fs2002 && !fs2004;
  choices.useFs2004 = fs2004 && !fs2002;
  return true;
}

int PageType::onNext(Escort::WizardUI* frame, HWND window) {
  SetupChoices& choices = setupChoices(frame);
  const bool needsSimulator = choices.installType != KestrelComputer;
  if (!detectSimulators(window, choices, needsSimulator) && needsSimulator) {
    if (!told) {
      const std::string caption = loadString(IDS_ERROR_CAPTION);
      const std::string text = loadString(IDS_ERROR_NO_SIMULATOR);
      MessageBoxA(window, text.c_str(), caption.c_str(), MB_OK);
    }
    return 1;
  }
  // A simulator computer needs no program directory.
  if (choices.installType == SimulatorComputer)
    frame->goToPage(frame->currentPage() + 2);
  else
    frame->next();
  return 1;
}
