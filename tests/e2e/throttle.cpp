#include "throttle.h"

#include <string>

#include "scenario.h"

namespace {

// ntdll's process-wide suspension, which no header of the SDK declares.
Throttle::ProcessCall ntdllCall(const char* name) {
  auto call = reinterpret_cast<Throttle::ProcessCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
  check(call != nullptr, std::string("ntdll has ") + name);
  return call;
}

}  // namespace

void suspendProcess(HANDLE process) {
  check(ntdllCall("NtSuspendProcess")(process) >= 0, "the program is suspended");
}

void resumeProcess(HANDLE process) { check(ntdllCall("NtResumeProcess")(process) >= 0, "the program is resumed"); }

void runUntil(HANDLE process, const std::string& what, const std::function<bool()>& holds) {
  suspendProcess(process);
  for (const DWORD start = GetTickCount(); !holds();) {
    resumeProcess(process);
    if (GetTickCount() - start > 120000) throw ScenarioFailure("ran two minutes in vain until: " + what);
    Sleep(1);
    suspendProcess(process);
  }
}

Throttle::Throttle(HANDLE process)
    : process(process),
      suspend(ntdllCall("NtSuspendProcess")),
      resume(ntdllCall("NtResumeProcess")),
      stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  thread = CreateThread(nullptr, 0, slices, this, 0, nullptr);
  check(stop && thread, "the throttle starts");
}

Throttle::~Throttle() {
  SetEvent(stop);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(stop);
}

DWORD WINAPI Throttle::slices(void* self) {
  auto* throttle = static_cast<Throttle*>(self);
  do {
    throttle->suspend(throttle->process);
    const bool stopping = WaitForSingleObject(throttle->stop, 45) == WAIT_OBJECT_0;
    throttle->resume(throttle->process);
    if (stopping) break;
  } while (WaitForSingleObject(throttle->stop, 5) != WAIT_OBJECT_0);
  return 0;
}
