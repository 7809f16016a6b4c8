#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "wizard_ui.h"

namespace Escort {

class WizardUIImpl final : public WizardUI {
 public:
  WizardUIImpl() = default;
  ~WizardUIImpl() override = default;  // releases the page list; windows end with close()

  bool create(HINSTANCE module, WORD templateId, int nextButtonId, int backButtonId, int cancelButtonId,
              int finishButtonId, int32_t pageXCode, int32_t pageYCode) override;
  bool addPage(WizardUIPage* page) override;
  bool run() override;
  bool enableButtons(int cancelState, int backState, int nextFinishState) override;
  bool next() override;
  bool back() override;
  int currentPage() override;
  bool goToPage(int index) override;
  void close() override;
  void setUserData(void* pointer) override;
  void* userData() override;
  HINSTANCE instance() override;

  // The frame dialog's procedure: turns the four buttons into page calls.
  static INT_PTR CALLBACK frameDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Shared by every page dialog: hands each message to its page with the frame.
  static INT_PTR CALLBACK pageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct PageEntry {
    HWND window;
    WizardUIPage* page;
  };

  bool showPage(int index);
  void orderButtons();
  // Puts the keyboard on the current page's first control that takes it, else
  // on Next (Finish on the last page), else nowhere.
  void focusCurrentPage();
  INT_PTR onCommand(int controlId);
  int pagePosition(int32_t code, HWND pageWindow, bool horizontal) const;
  void applyButtonState(int controlId, int state, bool enabledByDefault);

  bool created = false;
  HINSTANCE moduleHandle = nullptr;
  HWND frameWindow = nullptr;
  std::vector<PageEntry> pages;
  int32_t current = -1;
  int nextId = 0;
  int backId = 0;
  int cancelId = 0;
  int finishId = 0;
  int32_t pageX = 0;
  int32_t pageY = 0;
  void* userDataPointer = nullptr;
};

}  // namespace Escort
