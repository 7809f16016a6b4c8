#include "throttle.h"

#include <tlhelp32.h>

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

// A suspension takes effect once each thread has taken it, later than the
// call returns (Wine signals every thread of the process; Windows does the
// same for a thread that runs on another processor). Asking for a thread's
// context waits until it has stopped.
void waitUntilStopped(HANDLE process) {
  const DWORD processId = GetProcessId(process);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  check(snapshot != INVALID_HANDLE_VALUE, "the threads can be listed");
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    if (HANDLE thread = OpenThread(THREAD_GET_CONTEXT, FALSE, entry.th32ThreadID)) {
      CONTEXT context = {};
      context.ContextFlags = CONTEXT_CONTROL;
      GetThreadContext(thread, &context);
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
}

}  // namespace

void suspendProcess(HANDLE process) {
  check(ntdllCall("NtSuspendProcess")(process) >= 0, "the program is suspended");
  waitUntilStopped(process);
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
