#include "progress_cb.h"

#include "install_messages.h"

ProgressCB::ProgressCB(HWND window) : targetWindow(window) { currentName[0] = '\0'; }

void ProgressCB::postTotal(uint32_t total) {
  PostMessageA(targetWindow, WM_INSTALL_TOTAL, total, 0);
}

void ProgressCB::fileStarted(const char* /*archivePath*/, const char* destinationPath) {
  lstrcpynA(currentName, destinationPath, sizeof currentName);
  const LPARAM announced = copyAnnouncedFile(destinationPath);
  if (!PostMessageA(targetWindow, WM_INSTALL_FILE, 0, announced)) takeAnnouncedFile(announced);
}

void ProgressCB::fileProgress(uint32_t /*compressedFed*/, uint32_t /*compressedSize*/,
                              uint32_t inflated, uint32_t uncompressedSize) {
  PostMessageA(targetWindow, WM_INSTALL_PROGRESS, inflated, static_cast<LPARAM>(uncompressedSize));
}

void ProgressCB::fileFinished() { PostMessageA(targetWindow, WM_INSTALL_FILE_DONE, 0, 0); }

void ProgressCB::fileFailed(const char* path, unsigned long error) {
  const LPARAM failed = copyAnnouncedFile(path);
  if (!PostMessageA(targetWindow, WM_INSTALL_FAILED, error, failed)) takeAnnouncedFile(failed);
}

// The worker waits, and the page asks the user: the worker itself never
// touches a window.
bool ProgressCB::fileInUse(const char* path) {
  FileInUseQuestion question{path, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (!question.answered) return false;
  if (PostMessageA(targetWindow, WM_INSTALL_FILE_IN_USE, 0, reinterpret_cast<LPARAM>(&question)))
    WaitForSingleObject(question.answered, INFINITE);
  CloseHandle(question.answered);
  return question.retry;
}
