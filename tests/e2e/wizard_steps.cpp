#include "wizard_steps.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <vector>

#include "resource_ids.h"
#include "scenario.h"
#include "setup_windows.h"
#include "window_text.h"

const char kWelcomeText[] =
    "Welcome to Kestrel 3\n"
    "for Microsoft Flight Simulator\n\n"
    "Kestrel is the best way for online pilots to get access to live air traffic control services.  And this "
    "version makes it easier than ever.\n\n"
    "You must have Microsoft Flight Simulator 2002 or 2004 in order to use Kestrel.\n\n"
    "It is recommended that you exit all applications prior to running this installer.";
const char kCancelCaption[] = "Kestrel Installer";
const char kCancelQuestion[] = "Are you sure you want to exit without completing the installation of Kestrel?";
const char kErrorCaption[] = "Kestrel Installer Error";
const char kNoSimulatorMessage[] =
    "A valid version of Microsoft Flight Simulator does not appear to be installed on your machine.\n"
    "To use Kestrel you must have Microsoft Flight Simulator 2002 or Microsoft Flight Simulator 2004.";

std::string expectedAgreement(const std::string& setupProgram) {
  HMODULE strings = LoadLibraryExA(setupProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  check(strings != nullptr, "the string table of " + setupProgram + " can be read");
  std::vector<UINT> ids = {IDS_LICENSE_HEADING};
  for (UINT id = IDS_LICENSE_FIRST; id <= IDS_LICENSE_LAST; ++id) ids.push_back(id);
  std::string agreement;
  std::vector<char> buffer(8192);
  for (UINT id : ids) {
    const int length = LoadStringA(strings, id, buffer.data(), static_cast<int>(buffer.size()));
    check(length > 0, "string " + std::to_string(id) + " is in the table");
    agreement += std::string(buffer.data(), length) + "\r\n\r\n";
  }
  FreeLibrary(strings);
  return agreement;
}

void expectWelcomePage(UiDriver& setup) {
  setup.waitForWindow(kFrameCaption);
  setup.waitForPage(IDC_WELCOME_TEXT);
  checkEqual(setup.text(IDC_WELCOME_TEXT), kWelcomeText, "welcome text");
  checkEqual(setup.isVisible(IDC_HEADER_LOGO), false, "header bitmap visible on the welcome page");
  checkEqual(setup.isEnabled(IDC_BACK), false, "Back enabled on the welcome page");
  checkEqual(setup.isEnabled(IDC_NEXT) && setup.isVisible(IDC_NEXT), true, "Next enabled and visible");
  checkEqual(setup.isVisible(IDC_FINISH), false, "Finish visible on the welcome page");
  checkEqual(setup.isEnabled(IDCANCEL), true, "Cancel enabled");
}

void expectLicensePage(UiDriver& setup, const std::string& setupProgram, bool accepted) {
  setup.waitForPage(IDC_LICENSE_ACCEPT);
  const std::string agreement = setup.text(IDC_LICENSE_TEXT);
  checkEqual(agreement, expectedAgreement(setupProgram), "licence text");
  checkEqual(static_cast<long long>(agreement.size()), 13380, "licence text length");
  checkEqual(setup.isVisible(IDC_HEADER_LOGO), true, "header bitmap visible on the licence page");
  checkEqual(setup.isChecked(IDC_LICENSE_ACCEPT), accepted, "acceptance box ticked");
  checkEqual(setup.isEnabled(IDC_NEXT), accepted, "Next enabled on the licence page");
  checkEqual(setup.isEnabled(IDC_FINISH), accepted, "Finish enabled with Next");
  checkEqual(setup.isVisible(IDC_FINISH), false, "Finish visible on the licence page");
  checkEqual(setup.isEnabled(IDC_BACK), true, "Back enabled on the licence page");
}

void goToLicensePage(UiDriver& setup, const std::string& setupProgram) {
  expectWelcomePage(setup);
  setup.click(IDC_NEXT);
  expectLicensePage(setup, setupProgram, false);
}

void cancelAndConfirm(UiDriver& setup) {
  setup.click(IDCANCEL);
  setup.answerMessageBox(kCancelCaption, kCancelQuestion, IDYES);
  setup.expectExit(kExitCancelled, "after Cancel and Yes");
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 0, "windows left after the end");
}

std::string defaultProgramDir() {
  // The Program Files folder of this build's kind of program, as the system names it.
  char programFiles[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
  return std::string(programFiles) + "\\Kestrel3\\";
}

void goToTypePage(UiDriver& setup, const std::string& setupProgram) {
  goToLicensePage(setup, setupProgram);
  setup.setChecked(IDC_LICENSE_ACCEPT, true);
  setup.click(IDC_NEXT);
  setup.waitForPage(IDC_TYPE_ONE_COMPUTER);
  checkEqual(setup.isChecked(IDC_TYPE_ONE_COMPUTER), true, "one computer selected at first");
  checkEqual(setup.isEnabled(IDC_BACK) && setup.isEnabled(IDC_NEXT), true, "Back and Next enabled on the type page");
}

void expectProgramDirPage(UiDriver& setup, const std::string& directory) {
  setup.waitForPage(IDC_KESTREL_DIR_GROUP);
  checkEqual(setup.text(IDC_KESTREL_DIR_PATH), directory, "program directory shown");
}

void expectVersionPage(UiDriver& setup) {
  setup.waitForPage(IDC_SIMULATOR_VERSION_BOTH);
  const struct {
    int id;
    bool checked;
  } buttons[] = {{IDC_SIMULATOR_VERSION_FS2002, false},
                 {IDC_SIMULATOR_VERSION_FS2004, true},
                 {IDC_SIMULATOR_VERSION_BOTH, false}};
  for (const auto& button : buttons)
    checkEqual(setup.isChecked(button.id), button.checked, "version button " + std::to_string(button.id) + " selected");
}

void expectFinishedPage(UiDriver& setup, bool readmeShown) {
  setup.waitForVisible(IDC_FINISH);
  setup.waitForPage(IDC_FINISHED_USER_GUIDE);
  checkEqual(setup.isEnabled(IDC_FINISH), true, "Finish enabled on the finished page");
  checkEqual(setup.isVisible(IDC_NEXT), false, "Next visible on the finished page");
  checkEqual(setup.isEnabled(IDC_BACK), false, "Back enabled on the finished page");
  checkEqual(setup.isEnabled(IDCANCEL), false, "Cancel enabled on the finished page");
  checkEqual(setup.isVisible(IDC_HEADER_LOGO), true, "header bitmap visible on the finished page");
  checkEqual(setup.isVisible(IDC_FINISHED_README), readmeShown, "readme box shown");
  checkEqual(setup.isChecked(IDC_FINISHED_README), false, "readme box ticked at first");
  checkEqual(setup.isChecked(IDC_FINISHED_USER_GUIDE), false, "user guide box ticked at first");

  checkEqual(windowText(setup.pageControl(kProgressPage, IDC_PROGRESS_PERCENT)), "100%", "last percentage shown");
  const HWND bar = setup.pageControl(kProgressPage, IDC_PROGRESS_BAR);
  checkEqual(static_cast<long long>(windowAnswer(bar, PBM_GETPOS)), 1000, "last position of the progress bar");
  checkEqual(windowText(setup.pageControl(kProgressPage, IDC_PROGRESS_FILE)), "", "file label after the last file");
}

void finishAndEnd(UiDriver& setup) {
  setup.click(IDC_FINISH);
  setup.expectExit(kExitInstalled, "after Finish");
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 0, "windows left after the end");
}

UiDriver& walkToTheLastPage(ScenarioRun& run, const std::string& programDir) {
  UiDriver& setup = run.startSetup();
  goToTypePage(setup, run.setupProgram());
  setup.click(IDC_NEXT);
  expectProgramDirPage(setup, programDir);
  return setup;
}

void installAs(ScenarioRun& run, int typeButton, const std::string& programDir) {
  installWith(run.startSetup(), run.setupProgram(), typeButton, programDir);
}

void installWith(UiDriver& setup, const std::string& setupProgram, int typeButton, const std::string& programDir) {
  goToTypePage(setup, setupProgram);
  setup.setChecked(typeButton, true);
  setup.click(IDC_NEXT);
  if (typeButton != IDC_TYPE_SIMULATOR_COMPUTER) {
    expectProgramDirPage(setup, programDir);
    setup.click(IDC_NEXT);
  }
  expectFinishedPage(setup, typeButton != IDC_TYPE_SIMULATOR_COMPUTER);
  finishAndEnd(setup);
}

std::string failureDetail(const std::string& path, unsigned long error, const char* call, FailureSite site) {
  return "\n\n" + (path.empty() ? "" : path + "\n") + windowsSays(error) + "\n(" + call + " failed at " +
         std::to_string(static_cast<int>(site)) + ")";
}

const char kCancelledMessage[] = "The installation was cancelled.  Nothing has been changed.";

std::string destinationRefused(const std::string& folder, const std::string& why) {
  return "Kestrel cannot be installed in this folder:\n" + folder + "\n\n" + why +
         "\n\nNothing has been changed.  The installer will now close.";
}

std::string filesInUseQuestion(const std::string& path) {
  return "These files are in use by another program:\n" + path + "\n\nClose the program, then choose Retry.";
}

void answerFilesInUse(UiDriver& setup, const std::string& path, int answer) {
  setup.answerMessageBox(kCancelCaption, filesInUseQuestion(path), answer);
  if (answer != IDCANCEL) return;
  setup.answerMessageBox(kCancelCaption, kCancelledMessage, IDOK);
  setup.expectExit(kExitCancelled, "after cancelling");
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 0, "windows left after the end");
}

void expectFailureAndEnd(UiDriver& setup, const std::string& message, int exitCode) {
  setup.answerMessageBox(kErrorCaption, message, IDOK);
  setup.expectExit(exitCode, "after the failure");
  checkEqual(static_cast<long long>(setup.visibleWindowCount()), 0, "windows left after the end");
}
