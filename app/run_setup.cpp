#include "run_setup.h"

#include <algorithm>
#include <initializer_list>

#include "administrator_rights.h"
#include "dialog_message.h"
#include "interrupted_run.h"
#include "setup_working_copy.h"
#include "setup_texts.h"
#include "single_run.h"
#include "page_finished.h"
#include "page_fs_dir.h"
#include "page_ks_dir.h"
#include "page_license.h"
#include "page_position.h"
#include "page_progress.h"
#include "page_type.h"
#include "page_welcome.h"
#include "progress_bar_class.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "module_strings.h"
#include "text_format.h"
#include "system_message.h"
#include "wizard_ui.h"

namespace {

// A start-up that ends before the wizard: one message, then the exit code.
int refuseToStart(const std::string& text, int exitCode) {
  MessageBoxA(nullptr, text.c_str(), loadString(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_SETFOREGROUND);
  return exitCode;
}

}  // namespace

int startSetup(HINSTANCE instance, bool searchRestricted) {
  moduleInstance = instance;
  DWORD copyError = ERROR_SUCCESS;
  if (!searchRestricted && !isSetupWorkingCopy(GetCommandLineA())) {
    DWORD copyExitCode = 0;
    copyError = runFromWorkingCopy(copyExitCode);
    if (!copyError) return static_cast<int>(copyExitCode);
  }
  // A limited account cannot make a working copy either: what it needs to
  // hear is that it cannot install.
  if (!runsAsAdministrator()) return refuseToStart(loadString(IDS_ERROR_NOT_ADMINISTRATOR), kExitNotAdministrator);
  if (copyError) {
    Failure failure("", copyError);
    failure.reason = systemMessage(copyError);
    return refuseToStart(fillIn(loadString(IDS_ERROR_WORKING_COPY), {std::to_string(copyError)}) +
                             failureDetail(failure),
                         kExitNoWorkingCopy);
  }
  return runSetup(instance);
}

int runSetup(HINSTANCE instance) {
  moduleInstance = instance;
  if (!becomeTheOnlyRun()) return refuseToStart(loadString(IDS_ALREADY_RUNNING), kExitAlreadyRunning);
  if (const int refused = settleInterruptedRun()) return refused;
  // The progress page's dialog uses the progress bar class.
  registerProgressBarClass();

  Escort::WizardUI* frame = Escort::getWizardUI();
  if (!frame->create(instance, IDD_WIZARD_FRAME, IDC_NEXT, IDC_BACK, IDCANCEL, IDC_FINISH,
                     Escort::centredPosition(), Escort::anchorPosition(IDC_PAGE_ANCHOR))) {
    return kExitNoFrame;
  }

  // The record first: the pages' onCreate already use it. Declared before the
  // pages, it is also destroyed after them.
  SetupChoices choices;
  frame->setUserData(&choices);
  PageWelcome welcome;
  PageLicense license;
  PageType type;
  PageKSDir kestrelDirectory;
  PageFSDir simulatorVersion;
  PageProgress progress;
  PageFinished finished;
  // The pages find each other by their place in the frame: with one missing,
  // the pages after it would shift, and a route could end on the finished
  // page with nothing installed.
  const std::initializer_list<KS3Page*> pages = {&welcome, &license, &type, &kestrelDirectory,
                                                  &simulatorVersion, &progress, &finished};
  const bool allAdded =
      std::all_of(pages.begin(), pages.end(), [frame](KS3Page* page) { return frame->addPage(page); });
  if (!allAdded || !frame->run()) {
    frame->close();  // the hidden frame window goes too
    return kExitNothingToShow;
  }

  // GetMessageA gives -1 on an error, which must end the loop as well.
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Escort::dispatchWizardMessage(message);
  return choices.exitCode;
}
