#pragma once
#include <windows.h>

// BM_CLICK sent from a thread of its own. A click that opens a modal message
// box returns only once the box has closed, and meanwhile the driver has to
// read and answer that box.
class BackgroundClick {
 public:
  explicit BackgroundClick(HWND button);
  ~BackgroundClick();
  BackgroundClick(const BackgroundClick&) = delete;
  BackgroundClick& operator=(const BackgroundClick&) = delete;

  // True once the button's window procedure has returned, waiting at most `milliseconds`.
  bool finished(DWORD milliseconds) const;

 private:
  static DWORD WINAPI send(void* button);
  HANDLE thread;
};
