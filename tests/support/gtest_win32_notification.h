#pragma once
// GoogleTest's Notification on a Win32 event, read by GoogleTest in place of
// its own, which needs std::mutex: the win32 threads toolchain, which keeps
// the shipped programs starting on Windows XP, has none. Force-included
// wherever GoogleTest's headers are.
#include <windows.h>

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
