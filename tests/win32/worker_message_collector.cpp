#include "worker_message_collector.h"

#include "install_messages.h"

WorkerMessageCollector::WorkerMessageCollector()
    : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr)) {}

WorkerMessageCollector::~WorkerMessageCollector() {
  collectQueued();  // frees the names of announcements nobody asked for
  DestroyWindow(window_);
}

bool WorkerMessageCollector::takeOne() {
  MSG msg;
  if (!PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) return false;
  PostedMessage posted;
  posted.message = msg.message;
  posted.wParam = msg.wParam;
  posted.lParam = msg.lParam;
  if (msg.message == WM_INSTALL_FILE) posted.file = takeAnnouncedFile(msg.lParam);
  if (msg.message == WM_INSTALL_FAILED) posted.failure = takeAnnouncedFailure(msg.lParam);
  messages.push_back(posted);
  return true;
}

void WorkerMessageCollector::collectQueued() {
  while (takeOne()) {
  }
}

bool WorkerMessageCollector::collectUntilDone(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    while (takeOne()) {
      if (messages.back().message == WM_INSTALL_DONE) return true;
    }
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited, QS_POSTMESSAGE);
  }
}
