#include "single_run.h"

namespace {

// In the global namespace, so that a run in another session (another user
// switched to, a remote desktop) counts too; one name for the setup program
// and the uninstaller, so that neither overlaps the other.
const char kMutexName[] = "Global\\Ninefold Kestrel 3 installation";

HANDLE mutex = nullptr;  // never closed: the process holds it until it ends

}  // namespace

bool becomeTheOnlyRun(DWORD waitMs) {
  mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex == nullptr) return false;
  const DWORD taken = WaitForSingleObject(mutex, waitMs);
  return taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

void handTheRunOver() {
  if (mutex) ReleaseMutex(mutex);
}
