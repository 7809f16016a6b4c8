#pragma once
// The small window that shows how far the uninstallation has come: the
// current event's description over a bar of all events. It runs on the one
// thread of the program, between events, so it lets the queued messages
// through at every step to stay painted and movable.
#include <windows.h>

#include <string>

#include "uninstall_run.h"

class ProgressDialog final : public UninstallObserver {
 public:
  // Shows the dialog captioned `caption`; `window()` is null if it could not
  // be made, and the run then goes on without it.
  ProgressDialog(HINSTANCE instance, const std::string& caption);
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;
  ~ProgressDialog();

  HWND window() const { return dialog; }
  void progress(size_t done, size_t total, const std::string& description) override;
  // Names the file, with the programs that hold it where Windows can say,
  // and asks the user to close them: true for Retry.
  bool fileInUse(const std::string& path) override;
  // Shows what it waits for, and stays painted meanwhile.
  void waitFor(const std::string& path, unsigned long ms) override;

 private:
  HWND dialog = nullptr;
};
