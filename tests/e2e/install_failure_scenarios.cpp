// An installation that fails tells the user why and registers nothing.
#include <windows.h>

#include <functional>

#include "expected_installation.h"
#include "file_tree.h"
#include "installation_checks.h"
#include "journal_view.h"
#include "machine_snapshot.h"
#include "prefix_seed.h"
#include "registry_view.h"
#include "resource_ids.h"
#include "scenario.h"
#include "wizard_steps.h"

namespace {

// From the type page on a computer that runs only the add-on, to the message
// that the installation shows; then the program ends, having taken back
// everything it changed: the machine is as before, with no journal left.
void installUntilTheMessage(UiDriver& setup, const std::string& setupProgram, const std::string& programDir,
                            const std::string& message) {
  const MachineSnapshot before = takeMachineSnapshot();
  goToTypePage(setup, setupProgram);
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, programDir);
  setup.click(IDC_NEXT);
  expectFailureAndEnd(setup, message);
  check(!runJournal(), "no journal is left");
  checkSameMachine(before);
}

// A key that lasts only as long as the registry's server, below a lasting
// parent: no key that is kept on disk can be made below it.
void seedVolatileKey(const std::string& subkey) {
  HKEY key = nullptr;
  check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.substr(0, subkey.rfind('\\')).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | testedRegistryView(), nullptr, &key, nullptr) == ERROR_SUCCESS,
        "the parent of " + subkey + " is made");
  RegCloseKey(key);
  check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_WRITE | testedRegistryView(), nullptr, &key, nullptr) == ERROR_SUCCESS,
        "the volatile key " + subkey + " is made");
  RegCloseKey(key);
}

}  // namespace

// The program's settings or its shortcuts cannot be written: each has its
// message, before any file is installed.
SCENARIO(settings_or_shortcuts_cannot_be_written) {
  const struct {
    const char* what;
    std::function<void()> block;
    std::string message;
  } cases[] = {
      {"registry settings", [] { seedVolatileKey("Software\\Ninefold\\Kestrel"); },
       "An error occurred while updating the system registry.\n"
       "Ensure you have adequate privileges to install software on this machine.\n"
       "The installer will now close." +
           failureDetail("HKEY_LOCAL_MACHINE\\Software\\Ninefold\\Kestrel\\3", ERROR_CHILD_MUST_BE_VOLATILE,
                         "RegCreateKeyExA", FailureSite::SettingsWrite)},
      // A file where the Start menu folder should be: the folder "exists", and
      // no shortcut can be saved in it.
      {"shortcuts",
       [] {
         check(deleteMachineTree("Software\\Ninefold"), "the settings can be written again");
         std::string folder = startMenuFolder();
         folder.pop_back();
         writeBytes(folder, "a file, not a folder");
       },
       "An error occurred while updating the Start Menu.\nThe installer will now close." +
           failureDetail(startMenuFolder().substr(0, startMenuFolder().size() - 1), ERROR_ALREADY_EXISTS,
                         "CreateDirectoryA", FailureSite::ShortcutsFolder)},
  };
  for (const auto& c : cases) {
    c.block();
    installUntilTheMessage(run.startSetup(), run.setupProgram(), defaultProgramDir(), c.message);
  }
}

// A file where the program directory should be: the directory cannot be
// made, so the files fail with the extractor's code 2.
SCENARIO(program_dir_cannot_be_created) {
  const std::string blocker = "C:\\Kestrel blocked";
  writeBytes(blocker, "a file, not a directory");
  seedProgramDirSetting(blocker);

  installUntilTheMessage(run.startSetup(), run.setupProgram(), blocker + "\\",
                         "An error occurred while installing the files.\nThe installer will now close.\n(2)" +
                             failureDetail(blocker, ERROR_PATH_NOT_FOUND, "CreateDirectoryA", FailureSite::FolderMake));
}
