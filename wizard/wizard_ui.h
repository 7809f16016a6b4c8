#pragma once
#include <windows.h>

#include <cstdint>

#include "wizard_ui_page.h"

namespace Escort {

// How enableButtons treats a button. Default enables it, except Back on the
// first page; any value other than these four also disables.
enum ButtonState : int {
  Unchanged = 0,
  Default = 1,
  Enabled = 2,
  Disabled = 3,
};

// The wizard frame: one dialog with Back, Next, Finish and Cancel that shows
// its pages one at a time. Page position codes come from page_position.h.
class WizardUI {
 public:
  virtual bool create(HINSTANCE module, WORD templateId, int nextId, int backId, int cancelId, int finishId,
                      int32_t pageX, int32_t pageY) = 0;
  virtual bool addPage(WizardUIPage* page) = 0;
  virtual bool run() = 0;
  // Next and Finish always take the same state.
  virtual bool enableButtons(int cancelState, int backState, int nextFinishState) = 0;
  virtual bool next() = 0;
  virtual bool back() = 0;
  virtual int currentPage() = 0;
  virtual bool goToPage(int index) = 0;
  // Leaves the current page, destroys every page window and the frame, and
  // posts the quit message.
  virtual void close() = 0;
  virtual void setUserData(void* pointer) = 0;
  virtual void* userData() = 0;
  virtual HINSTANCE instance() = 0;
  virtual ~WizardUI() = default;
};

// The process-wide frame, created on the first call and never destroyed.
WizardUI* getWizardUI();

}  // namespace Escort
