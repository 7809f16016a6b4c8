#include "throttle.h"

#include <string>

#include "scenario_check.h"

namespace {

using ProcessCall = LONG(NTAPI*)(HANDLE);

// ntdll's process-wide suspension, which no header of the SDK declares.
ProcessCall ntdllCall(const char* name) {
  auto call = reinterpret_cast<ProcessCall>(
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
