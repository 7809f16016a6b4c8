#pragma once
// Holds a running program still, or lets it run in short slices only, from
// outside, so that a scenario can act at a moment of its choosing while the
// program is part-way through its work.
#include <windows.h>

// Every thread of the process stops (or goes on) at once.
void suspendProcess(HANDLE process);
void resumeProcess(HANDLE process);

// While it lives, the process runs about one tenth of the time.
class Throttle {
 public:
  explicit Throttle(HANDLE process);
  ~Throttle();  // lets the process run freely again
  Throttle(const Throttle&) = delete;
  Throttle& operator=(const Throttle&) = delete;

  using ProcessCall = LONG(NTAPI*)(HANDLE);

 private:
  static DWORD WINAPI slices(void* self);

  HANDLE process;
  ProcessCall suspend;
  ProcessCall resume;
  HANDLE stop;
  HANDLE thread;
};
