#include "wizard_ui_impl.h"

#include "page_position.h"

namespace Escort {

namespace {
// Pages and the frame are moved without touching their size, stacking or paint.
const UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW;
// The stacking order of the frame's children is their tab order.
const UINT kStackOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;

// The first control of a shown page that takes focus from the keyboard.
HWND firstTabStop(HWND page) {
  for (HWND control = GetWindow(page, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(control) && IsWindowEnabled(control))
      return control;
  }
  return nullptr;
}
}  // namespace

WizardUI* getWizardUI() {
  // Deliberately never freed: the frame outlives the message loop and start-up.
  static WizardUIImpl* const frame = new WizardUIImpl();
  return frame;
}

bool WizardUIImpl::create(HINSTANCE module, WORD templateId, int nextButtonId, int backButtonId,
                          int cancelButtonId, int finishButtonId, int32_t pageXCode, int32_t pageYCode) {
  if (created) return false;
  moduleHandle = module;
  frameWindow = CreateDialogParamA(moduleHandle, MAKEINTRESOURCEA(templateId), nullptr, frameDialogProc,
                                   reinterpret_cast<LPARAM>(this));
  if (frameWindow == nullptr) return false;
  ShowWindow(frameWindow, SW_HIDE);
  for (int id : {nextButtonId, backButtonId, cancelButtonId, finishButtonId}) {
    if (GetDlgItem(frameWindow, id) == nullptr) {
      DestroyWindow(frameWindow);
      frameWindow = nullptr;
      return false;
    }
  }
  nextId = nextButtonId;
  backId = backButtonId;
  cancelId = cancelButtonId;
  finishId = finishButtonId;
  orderButtons();
  pageX = pageXCode;
  pageY = pageYCode;
  current = -1;
  created = true;
  return true;
}

bool WizardUIImpl::addPage(WizardUIPage* page) {
  if (page == nullptr || !created) return false;
  HWND window = CreateDialogParamA(moduleHandle, MAKEINTRESOURCEA(page->dialogTemplate()), frameWindow,
                                   pageDialogProc, reinterpret_cast<LPARAM>(page));
  if (window == nullptr) return false;
  ShowWindow(window, SW_HIDE);
  SetWindowPos(window, nullptr, pagePosition(pageX, window, true), pagePosition(pageY, window, false), 0, 0,
               kMoveOnly);
  // After the pages added before it and before the frame's own controls: the
  // keyboard reaches a page's controls first, then the buttons.
  SetWindowPos(window, pages.empty() ? HWND_TOP : pages.back().window, 0, 0, 0, 0, kStackOnly);
  pages.push_back({window, page});
  page->onCreate(this, window);
  return true;
}

bool WizardUIImpl::run() {
  if (!created || pages.empty()) return false;
  RECT workArea = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT frame = {};
  GetWindowRect(frameWindow, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(frameWindow, nullptr, workArea.left + (workArea.right - workArea.left - width) / 2,
               workArea.top + (workArea.bottom - workArea.top - height) / 2, 0, 0, kMoveOnly);
  ShowWindow(frameWindow, SW_SHOW);
  showPage(0);
  return true;
}

bool WizardUIImpl::enableButtons(int cancelState, int backState, int nextFinishState) {
  if (!created) return false;
  const HWND focused = GetFocus();
  applyButtonState(cancelId, cancelState, true);
  applyButtonState(backId, backState, current != 0);
  applyButtonState(nextId, nextFinishState, true);
  applyButtonState(finishId, nextFinishState, true);
  // A disabled button keeps no focus: Windows XP..11 would leave the keyboard
  // on it, dead, and Wine 8.0 drops the focus altogether (as observed).
  if (focused != nullptr && GetParent(focused) == frameWindow && !IsWindowEnabled(focused)) focusCurrentPage();
  return true;
}

void WizardUIImpl::applyButtonState(int controlId, int state, bool enabledByDefault) {
  if (state == Unchanged) return;
  const bool enable = state == Enabled || (state == Default && enabledByDefault);
  EnableWindow(GetDlgItem(frameWindow, controlId), enable ? TRUE : FALSE);
}

bool WizardUIImpl::next() { return goToPage(current + 1); }

bool WizardUIImpl::back() { return goToPage(current - 1); }

int WizardUIImpl::currentPage() { return current; }

bool WizardUIImpl::goToPage(int index) {
  if (index < 0 || index > static_cast<int>(pages.size()) - 1) return false;
  return showPage(index);
}

// Every call into a page may navigate or close the wizard by itself, so after
// each one `created` is tested again and `current` read again: the innermost
// step does the whole job and the outer ones only finish what is still theirs.
bool WizardUIImpl::showPage(int index) {
  if (!created) return false;
  if (index < -1 || index > static_cast<int>(pages.size()) - 1) return false;
  const int previous = current;
  current = index;
  enableButtons(Default, Default, Default);

  if (previous != -1 && created) {
    const PageEntry left = pages[previous];
    left.page->onLeave(this, left.window);
    if (created) ShowWindow(left.window, SW_HIDE);
  }
  if (current != -1) {
    if (!created) return true;
    const PageEntry entered = pages[current];
    entered.page->onEnter(this, entered.window);
    if (created && current != -1) ShowWindow(pages[current].window, SW_SHOW);
  }
  if (created) {
    const bool last = current == static_cast<int>(pages.size()) - 1;
    ShowWindow(GetDlgItem(frameWindow, nextId), last ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(frameWindow, finishId), last ? SW_SHOW : SW_HIDE);
    // Enter presses whichever of the two is shown.
    SendMessageA(frameWindow, DM_SETDEFID, static_cast<WPARAM>(last ? finishId : nextId), 0);
    if (current != -1) focusCurrentPage();
  }
  return true;
}

void WizardUIImpl::orderButtons() {
  // Tab goes from the page to Back, Next or Finish, then Cancel, wherever the
  // template puts them; the buttons start a group of their own, so that the
  // arrow keys in a page's last group stay in the page.
  HWND previous = GetDlgItem(frameWindow, backId);
  SetWindowLongA(previous, GWL_STYLE, GetWindowLongA(previous, GWL_STYLE) | WS_GROUP);
  for (int id : {nextId, finishId, cancelId}) {
    HWND button = GetDlgItem(frameWindow, id);
    SetWindowPos(button, previous, 0, 0, 0, 0, kStackOnly);
    previous = button;
  }
}

void WizardUIImpl::focusCurrentPage() {
  HWND target = current == -1 ? nullptr : firstTabStop(pages[current].window);
  if (target == nullptr) {
    HWND forward = GetDlgItem(frameWindow, current == static_cast<int>(pages.size()) - 1 ? finishId : nextId);
    if (IsWindowVisible(forward) && IsWindowEnabled(forward)) target = forward;
  }
  // Through the dialog manager, which also moves the default button's frame.
  // With nothing to take it, no window has the focus and keys do nothing.
  if (target != nullptr)
    SendMessageA(frameWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  else
    SetFocus(nullptr);
}

void WizardUIImpl::close() {
  showPage(-1);
  // By index and by copy: a page that closes again from onDestroy empties the
  // list under this loop, which then simply ends.
  for (size_t index = 0; index < pages.size(); ++index) {
    const PageEntry entry = pages[index];
    entry.page->onDestroy(this, entry.window);
    DestroyWindow(entry.window);
  }
  pages.clear();
  // A second close must not destroy whichever window has meanwhile been given
  // the same handle value.
  if (frameWindow != nullptr) DestroyWindow(frameWindow);
  frameWindow = nullptr;
  PostQuitMessage(0);
  created = false;
}

void WizardUIImpl::setUserData(void* pointer) { userDataPointer = pointer; }

void* WizardUIImpl::userData() { return userDataPointer; }

HINSTANCE WizardUIImpl::instance() { return moduleHandle; }

int WizardUIImpl::pagePosition(int32_t code, HWND pageWindow, bool horizontal) const {
  if (code == centredPosition()) {
    RECT frame = {}, page = {};
    GetWindowRect(frameWindow, &frame);
    GetWindowRect(pageWindow, &page);
    const int frameSize = horizontal ? frame.right - frame.left : frame.bottom - frame.top;
    const int pageSize = horizontal ? page.right - page.left : page.bottom - page.top;
    return (frameSize - pageSize) / 2;
  }
  if (isAnchorPosition(code)) {
    // An anchor puts the page's edge on the same edge of the control, in the
    // frame's client coordinates; a control the frame lacks puts it at 0.
    HWND anchor = GetDlgItem(frameWindow, anchorControlId(code));
    if (anchor == nullptr) return 0;
    RECT edges = {};
    GetWindowRect(anchor, &edges);
    MapWindowPoints(nullptr, frameWindow, reinterpret_cast<POINT*>(&edges), 2);
    return horizontal ? edges.left : edges.top;
  }
  return code;
}

INT_PTR CALLBACK WizardUIImpl::frameDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
  auto* frame = reinterpret_cast<WizardUIImpl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // Messages before WM_INITDIALOG (WM_SETFONT) come before the frame is attached.
  if (message != WM_COMMAND || frame == nullptr) return FALSE;
  // Enter on a page's push button comes to the frame, whose dialog manager
  // has the keyboard; the button belongs to its page.
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control != nullptr && GetParent(control) != window) {
    SendMessageA(GetParent(control), WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return frame->onCommand(LOWORD(wParam));
}

INT_PTR WizardUIImpl::onCommand(int controlId) {
  // A button message that arrives while no page is current (before run, or
  // queued behind a close) has no page to go to.
  if (current < 0 || current >= static_cast<int>(pages.size())) return FALSE;
  // A copy: the page may close the wizard, which empties the list.
  const PageEntry entry = pages[current];
  if (controlId == nextId) {
    if (entry.page->onNext(this, entry.window) != 0) return FALSE;
    next();
    return TRUE;
  }
  if (controlId == backId) {
    if (entry.page->onBack(this, entry.window) != 0) return FALSE;
    back();
    return TRUE;
  }
  if (controlId == cancelId) {
    // The caption's close box arrives as this same command. Windows' dialog
    // manager (XP..11) sends it only while Cancel is enabled (MSDN, Dialog
    // Box Default Message Processing: WM_CLOSE); Wine's (8.0) sends it
    // always, so a disabled Cancel is honoured here as well.
    if (!IsWindowEnabled(GetDlgItem(frameWindow, cancelId))) return FALSE;
    return entry.page->onCancel(this, entry.window);
  }
  if (controlId == finishId) return entry.page->onFinish(this, entry.window);
  return FALSE;
}

INT_PTR CALLBACK WizardUIImpl::pageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
  auto* frame = reinterpret_cast<WizardUIImpl*>(GetWindowLongPtrA(GetParent(window), GWLP_USERDATA));
  auto* page = reinterpret_cast<WizardUIPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (frame == nullptr || page == nullptr) return FALSE;
  return page->onMessage(frame, window, message, wParam, lParam);
}

}  // namespace Escort
