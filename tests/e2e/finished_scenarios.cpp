// The finished page's Finish: what it opens, in which order, and that the
// wizard closes without waiting for it.
#include <windows.h>
#include <shellapi.h>

#include "expected_installation.h"
#include "prefix_seed.h"
#include "resource_ids.h"
#include "scenario.h"
#include "tree_walk.h"
#include "wizard_steps.h"

namespace {

// A whole installation on a computer that runs only the add-on (which needs
// no simulator), up to the finished page.
void installToFinishedPage(UiDriver& setup, const std::string& setupProgram) {
  goToTypePage(setup, setupProgram);
  setup.setChecked(IDC_TYPE_KESTREL_COMPUTER, true);
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, defaultProgramDir());
  setup.click(IDC_NEXT);
  expectFinishedPage(setup, true);
}

}  // namespace

// Both boxes ticked: the user guide's address (without its trailing slash)
// first, then "readme.txt" opened in the program directory.
SCENARIO(finish_opens_user_guide_then_readme) {
  const std::string record = recordWhatIsOpened(run);
  UiDriver& setup = run.startSetup();
  installToFinishedPage(setup, run.setupProgram());
  setup.setChecked(IDC_FINISHED_USER_GUIDE, true);
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);

  const std::vector<std::string> opened = documentsOpened(record);
  checkEqual(static_cast<long long>(opened.size()), 2, "documents opened");
  std::string address = kUserGuideAddress;
  address.pop_back();
  checkEqual(opened[0].substr(0, opened[0].find('\t')), address, "opened first");
  // Wine hands the name on as the program gave it, Windows the full path it
  // found in the working directory: either way, the program directory's readme.
  const std::string document = opened[1].substr(0, opened[1].find('\t'));
  const std::string directory = opened[1].substr(opened[1].find('\t') + 1);
  checkEqual(withBackslash(directory), defaultProgramDir(), "working directory of the readme");
  checkEqual(document.find(':') == std::string::npos ? withBackslash(directory) + document : document,
             defaultProgramDir() + "readme.txt", "opened second");
}

// Nothing to open the readme with (a fresh prefix knows no program for text
// files): the program asks the shell to open the readme it installed, which
// fails for want of a program, and Finish still ends the program at once,
// with no message.
SCENARIO(finish_ends_when_the_readme_cannot_be_opened) {
  UiDriver& setup = run.startSetupWithOpenProbe();
  installToFinishedPage(setup, run.setupProgram());
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);
  checkEqual(run.opensAsked(),
             "readme.txt\t" + defaultProgramDir() + "\tfailed, code " + std::to_string(SE_ERR_NOASSOC) + "\n",
             "what the program asked the shell to open, and what came of it");
}
