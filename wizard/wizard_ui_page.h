#pragma once
#include <windows.h>

namespace Escort {

class WizardUI;

// One page of the wizard. The frame creates the page's dialog from
// dialogTemplate() and then calls the page back with itself and that window;
// the page keeps neither. Results of onEnter and onLeave are ignored; onNext
// and onBack return 0 to let the frame move, anything else when the page has
// handled the click itself; onCancel and onFinish give the frame dialog's
// result, onMessage the page dialog's.
class WizardUIPage {
 public:
  virtual WORD dialogTemplate() = 0;
  virtual void onCreate(WizardUI* frame, HWND window) = 0;
  virtual int onEnter(WizardUI* frame, HWND window) = 0;
  virtual int onNext(WizardUI* frame, HWND window) = 0;
  virtual int onBack(WizardUI* frame, HWND window) = 0;
  virtual int onCancel(WizardUI* frame, HWND window) = 0;
  virtual int onFinish(WizardUI* frame, HWND window) = 0;
  virtual INT_PTR onMessage(WizardUI* frame, HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual int onLeave(WizardUI* frame, HWND window) = 0;
  virtual void onDestroy(WizardUI* frame, HWND window) = 0;

 protected:
  ~WizardUIPage() = default;  // the frame only borrows pages; their owner ends them
};

}  // namespace Escort
