// The program directory page: what it proposes, and the folder browser.
#include <optional>
#include <string>
#include <vector>

#include "expected_installation.h"
#include "folder_browser.h"
#include "prefix_seed.h"
#include "registry_view.h"
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

namespace {

// To the program directory page on a computer that runs only the add-on,
// which needs no simulator.
void goToProgramDirPage(UiDriver& setup, const std::string& setupProgram, const std::string& shown) {
  goToTypePage(setup, setupProgram);
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, shown);
}

}  // namespace

// An earlier installation's "KSDir" is proposed as it stands, with one
// backslash at the end; without one, or with an empty one, the default below
// Program Files.
SCENARIO(program_dir_proposed) {
  const struct {
    std::optional<std::string> earlier;
    std::string proposed;
  } cases[] = {
      {std::nullopt, defaultProgramDir()},
      {"", defaultProgramDir()},
      {"D:\\Games\\Kestrel\\", "D:\\Games\\Kestrel\\"},
      {"D:\\Games\\Kestrel", "D:\\Games\\Kestrel\\"},
  };
  for (const auto& c : cases) {
    check(deleteMachineTree(kSettingsKey), "no settings of an earlier installation");
    if (c.earlier) seedProgramDirSetting(*c.earlier);
    UiDriver& setup = run.startSetup();
    goToProgramDirPage(setup, run.setupProgram(), c.proposed);
    cancelAndConfirm(setup);
  }
}

// The folder browser changes the directory to the folder chosen, with one
// backslash at its end (a drive root keeps its own); a choice that is no file
// system folder, or cancelling, leaves the directory as it was.
SCENARIO(folder_browser) {
  const struct {
    std::vector<std::string> choice;  // empty: cancel
    std::string directory;
  } cases[] = {
      {{"My Computer", "(C:)", "windows"}, "C:\\windows\\"},
      {{"My Computer", "(C:)"}, "C:\\"},
      {{"My Computer", "Control Panel"}, "C:\\"},
      {{}, "C:\\"},
  };
  UiDriver& setup = run.startSetup();
  goToProgramDirPage(setup, run.setupProgram(), defaultProgramDir());
  for (const auto& c : cases) {
    setup.click(IDC_KESTREL_DIR_CHANGE);
    HWND dialog = setup.waitForDialog(kFolderBrowserCaption);
    if (c.choice.empty()) {
      setup.answerDialog(kFolderBrowserCaption, IDCANCEL);
    } else {
      FolderBrowser browser(dialog, setup.process().handle());
      check(browser.select(c.choice), "the browser shows " + c.choice.back() + " below " + c.choice.front());
      setup.answerDialog(kFolderBrowserCaption, IDOK);
    }
    expectProgramDirPage(setup, c.directory);
  }
  cancelAndConfirm(setup);
}

// A network folder, as the folder browser or an earlier setting may give it,
// is refused on Next: the uninstaller removes nothing from a network share.
SCENARIO(program_dir_on_a_network_share_refused) {
  const std::string share = "\\\\fileserver\\games\\Kestrel\\";
  seedProgramDirSetting(share);
  UiDriver& setup = run.startSetup();
  goToProgramDirPage(setup, run.setupProgram(), share);
  setup.click(IDC_NEXT);
  setup.answerMessageBox(kErrorCaption,
                         "Kestrel cannot be installed in a network folder:\n" + share +
                             "\n\nChoose a folder on a drive of this computer.",
                         IDOK);
  expectProgramDirPage(setup, share);
  cancelAndConfirm(setup);
}
