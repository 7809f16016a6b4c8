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

// Both documents opened by the program that `openedBy` says is the right
// one, in the working directories the setup program asked for: the user
// guide's address (without its trailing slash) first, then "readme.txt" in
// the program directory.
void checkBothOpened(const std::string& record, const std::string& openedBy,
                     bool (*rightOpener)(const OpenedDocument&, const UiDriver&), const UiDriver& setup) {
  const std::vector<OpenedDocument> opened = documentsOpened(record);
  checkEqual(static_cast<long long>(opened.size()), 2, "documents opened");
  std::string address = kUserGuideAddress;
  address.pop_back();
  checkEqual(opened[0].document, address, "opened first");
  // Wine hands the name on as the program gave it, Windows the full path it
  // found in the working directory: either way, the program directory's readme.
  const OpenedDocument& readme = opened[1];
  checkEqual(withBackslash(readme.directory), defaultProgramDir(), "working directory of the readme");
  checkEqual(readme.document.find(':') == std::string::npos ? withBackslash(readme.directory) + readme.document
                                                             : readme.document,
             defaultProgramDir() + "readme.txt", "opened second");
  for (const OpenedDocument& document : opened)
    check(rightOpener(document, setup), document.document + " is opened by " + openedBy + ", not by process " +
                                            std::to_string(document.openedByProcess) + " " + document.openedBy);
}

bool byTheDesktopShell(const OpenedDocument& document, const UiDriver&) {
  return lstrcmpiA(document.openedBy.c_str(), "explorer.exe") == 0;
}

bool byTheSetupProgram(const OpenedDocument& document, const UiDriver& setup) {
  return document.openedByProcess == setup.process().processId();
}

}  // namespace

// Both boxes ticked: the desktop's shell opens both, with the user's
// ordinary rights; the setup program, which runs with an administrator's,
// opens nothing itself.
SCENARIO(finish_opens_user_guide_then_readme) {
  const std::string record = recordWhatIsOpened(run);
  UiDriver& setup = run.startSetupWithOpenProbe();
  installToFinishedPage(setup, run.setupProgram());
  setup.setChecked(IDC_FINISHED_USER_GUIDE, true);
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);
  checkBothOpened(record, "the desktop's shell, explorer.exe", byTheDesktopShell, setup);
  checkEqual(run.opensAsked(), "", "what the setup program opened itself");
}

// Where no desktop shell can be reached, the program opens both itself, as
// it did before it asked the shell.
SCENARIO(finish_without_a_desktop_shell_opens_the_documents_itself) {
  makeDesktopShellUnreachable();
  const std::string record = recordWhatIsOpened(run);
  UiDriver& setup = run.startSetupWithOpenProbe();
  installToFinishedPage(setup, run.setupProgram());
  setup.setChecked(IDC_FINISHED_USER_GUIDE, true);
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);
  checkBothOpened(record, "the setup program", byTheSetupProgram, setup);
  std::string address = kUserGuideAddress;
  address.pop_back();
  checkEqual(run.opensAsked(), address + "\t\topened\nreadme.txt\t" + defaultProgramDir() + "\topened\n",
             "what the setup program opened itself");
}

// Nothing to open the readme with (a fresh prefix knows no program for text
// files): Finish still ends the program at once, with no message. Where the
// desktop's shell was asked, its failure is its own: the program does not
// open the readme itself in its place. Where there is no desktop shell, the
// program asks its own shell to open the readme it installed, which fails for
// want of a program.
SCENARIO(finish_ends_when_the_readme_cannot_be_opened) {
  UiDriver& setup = run.startSetupWithOpenProbe();
  installToFinishedPage(setup, run.setupProgram());
  setup.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(setup);
  checkEqual(run.opensAsked(), "", "what the setup program opened itself, the desktop's shell having been asked");

  makeDesktopShellUnreachable();
  UiDriver& again = run.startSetupWithOpenProbe();
  installToFinishedPage(again, run.setupProgram());
  again.setChecked(IDC_FINISHED_README, true);
  finishAndEnd(again);
  checkEqual(run.opensAsked(),
             "readme.txt\t" + defaultProgramDir() + "\tfailed, code " + std::to_string(SE_ERR_NOASSOC) + "\n",
             "what the program asked its own shell to open, and what came of it");
}
