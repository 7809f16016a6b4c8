#pragma once
// A message-only window on the test's thread that receives what the
// installation worker posts, in the order the progress page would see it.
#include <windows.h>

#include <string>
#include <vector>

#include "failure.h"

struct PostedMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::string file;  // WM_INSTALL_FILE only: the path, taken over as the page does
  Failure failure;   // WM_INSTALL_FAILED only, likewise
};

class WorkerMessageCollector {
 public:
  WorkerMessageCollector();
  ~WorkerMessageCollector();
  WorkerMessageCollector(const WorkerMessageCollector&) = delete;
  WorkerMessageCollector& operator=(const WorkerMessageCollector&) = delete;

  HWND window() const { return window_; }

  // Takes messages until WM_INSTALL_DONE arrives; false if `timeoutMs` passes
  // first, so a worker that hangs fails the test instead of stalling it.
  bool collectUntilDone(DWORD timeoutMs);
  // Takes whatever is queued now, without waiting.
  void collectQueued();

  std::vector<PostedMessage> messages;

 private:
  bool takeOne();  // false when the queue is empty

  HWND window_;
};
