#include "progress_cb.h"

#include "install_messages.h"

ProgressCB::ProgressCB(HWND window, DWORD interval)
    : targetWindow(window), interval(interval), lastReport(GetTickCount() - interval) {}

void ProgressCB::postTotal(uint32_t total) { PostMessageA(targetWindow, WM_INSTALL_TOTAL, total, 0); }

void ProgressCB::postWritten() {
  PostMessageA(targetWindow, WM_INSTALL_PROGRESS, finishedBytes + currentBytes, 0);
}

void ProgressCB::postFileName() {
  const LPARAM announced = copyAnnouncedFile(currentFile.c_str());
  if (!PostMessageA(targetWindow, WM_INSTALL_FILE, 0, announced)) takeAnnouncedFile(announced);
  named = true;
}

void ProgressCB::postWhenDue() {
  const DWORD now = GetTickCount();
  if (now - lastReport < interval) return;
  lastReport = now;
  if (!named) postFileName();
  postWritten();
}

void ProgressCB::fileStarted(const char* /*archivePath*/, const char* destinationPath) {
  currentFile = destinationPath;
  named = false;
  currentBytes = 0;
  postWhenDue();
}

void ProgressCB::fileProgress(uint32_t /*compressedFed*/, uint32_t /*compressedSize*/, uint32_t inflated,
                              uint32_t /*uncompressedSize*/) {
  currentBytes = inflated;
  postWhenDue();
}

void ProgressCB::fileFinished() {
  finishedBytes += currentBytes;  // sums wrap at 32 bits like the total
  currentBytes = 0;
}

void ProgressCB::fileFailed(const Failure& failure) {
  // The page shows the file that failed while its message is up.
  if (!named) postFileName();
  const LPARAM failed = copyAnnouncedFailure(failure);
  if (!PostMessageA(targetWindow, WM_INSTALL_FAILED, 0, failed)) takeAnnouncedFailure(failed);
}

// The worker waits, and the page asks the user: the worker itself never
// touches a window.
bool ProgressCB::fileInUse(const char* path) {
  if (!named) postFileName();
  FileInUseQuestion question{path, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (!question.answered) return false;
  if (PostMessageA(targetWindow, WM_INSTALL_FILE_IN_USE, 0, reinterpret_cast<LPARAM>(&question)))
    WaitForSingleObject(question.answered, INFINITE);
  CloseHandle(question.answered);
  return question.retry;
}
