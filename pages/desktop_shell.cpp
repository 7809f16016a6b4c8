#include "desktop_shell.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

namespace {

// Holds one reference to a COM interface, released with it.
template <typename Interface>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (pointer) pointer->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

  Interface** out() { return &pointer; }
  void** outAsVoid() { return reinterpret_cast<void**>(&pointer); }
  Interface* operator->() const { return pointer; }
  explicit operator bool() const { return pointer != nullptr; }

 private:
  Interface* pointer = nullptr;
};

// A VARIANT cleared with it: text from the ANSI code page (none for an empty
// text: an optional argument not given), or a number.
class Argument {
 public:
  explicit Argument(const std::string& text) {
    VariantInit(&value);
    if (text.empty()) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return;
    BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (!wide) return;
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, length);
    value.vt = VT_BSTR;
    value.bstrVal = wide;
  }
  explicit Argument(int number) {
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
  }
  ~Argument() { VariantClear(&value); }
  Argument(const Argument&) = delete;
  Argument& operator=(const Argument&) = delete;

  VARIANT value;
};

// The shell dispatch object of the shell that shows the desktop: from the
// shell's list of its windows, the desktop's browser, its view, and the
// automation object of the view's background.
bool findDesktopShell(Held<IShellDispatch2>& shell) {
  Held<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.outAsVoid())))
    return false;
  VARIANT nowhere;
  VariantInit(&nowhere);
  long desktopWindow = 0;
  Held<IDispatch> desktop;
  // S_FALSE when no desktop is registered: no window, no object.
  if (windows->FindWindowSW(&nowhere, &nowhere, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH, desktop.out()) !=
          S_OK ||
      !desktop)
    return false;
  Held<IServiceProvider> services;
  Held<IShellBrowser> browser;
  Held<IShellView> view;
  Held<IDispatch> background;
  Held<IShellFolderViewDual> folderView;
  Held<IDispatch> application;
  return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.outAsVoid())) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.outAsVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.out())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.outAsVoid())) && background &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.outAsVoid())) &&
         SUCCEEDED(folderView->get_Application(application.out())) && application &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.outAsVoid())) && shell;
}

}  // namespace

bool openThroughDesktopShell(const std::string& file, const std::string& directory) {
  Held<IShellDispatch2> shell;
  if (!findDesktopShell(shell)) return false;
  const Argument document(file), noArguments(""), workingDirectory(directory), verb("open"), show(SW_SHOWNORMAL);
  // The file is the one argument that must be text.
  if (document.value.vt != VT_BSTR) return false;
  // S_FALSE: the shell could not open it, which is its own affair, as the
  // document's is once it opens. A failure is of the call itself: the shell
  // went away meanwhile, and nothing was opened.
  return SUCCEEDED(shell->ShellExecute(document.value.bstrVal, noArguments.value, workingDirectory.value, verb.value,
                                       show.value));
}
