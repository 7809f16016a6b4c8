#include "run_setup.h"

#include <commctrl.h>

#include <initializer_list>

#include "page_finished.h"
#include "page_fs_dir.h"
#include "page_ks_dir.h"
#include "page_license.h"
#include "page_position.h"
#include "page_progress.h"
#include "page_type.h"
#include "page_welcome.h"
#include "resource_ids.h"
#include "setup_choices.h"
#include "string_helpers.h"
#include "wizard_ui.h"

int runSetup(HINSTANCE instance) {
  moduleInstance = instance;
  // The progress page's dialog uses the progress bar class.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

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
  for (KS3Page* page : std::initializer_list<KS3Page*>{&welcome, &license, &type, &kestrelDirectory,
                                                       &simulatorVersion, &progress, &finished}) {
    frame->addPage(page);
  }
  if (!frame->run()) {
    frame->close();  // the hidden frame window goes too
    return kExitNothingToShow;
  }

  // GetMessageA gives -1 on an error, which must end the loop as well.
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
