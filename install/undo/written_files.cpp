#include "written_files.h"

#include "change_flush.h"
#include "durable_changes.h"
#include "text_format.h"

namespace {

std::string driveOf(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' ? asciiLowerCase(path.substr(0, 2)) : std::string();
}

}  // namespace

void WrittenFiles::begin(const std::vector<std::string>& paths) {
  std::set<std::string> tried;
  bool oneByOne = false;
  for (const std::string& path : paths) {
    const std::string drive = driveOf(path);
    if (drive.empty() || !tried.insert(drive).second) continue;
    if (durable::flushVolume(drive))
      wholeVolumes.insert(drive);
    else
      oneByOne = true;
  }
  if (!oneByOne) return;
  wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!wake) return;  // the files are then flushed at the end
  InitializeCriticalSection(&lock);
  thread = CreateThread(nullptr, 0, flushInTurn, this, 0, nullptr);
  if (thread) return;
  DeleteCriticalSection(&lock);
  CloseHandle(wake);
  wake = nullptr;
}

void WrittenFiles::written(const std::string& path) {
  if (!thread || wholeVolumes.count(driveOf(path))) {
    unflushed.push_back(path);
    return;
  }
  flushed.push_back(path);
  EnterCriticalSection(&lock);
  queue.push_back(path);
  LeaveCriticalSection(&lock);
  SetEvent(wake);
}

bool WrittenFiles::takeNext(std::string& path) {
  EnterCriticalSection(&lock);
  const bool taken = !queue.empty();
  if (taken) {
    path = queue.front();
    queue.pop_front();
  }
  LeaveCriticalSection(&lock);
  return taken;
}

DWORD WINAPI WrittenFiles::flushInTurn(void* parameter) {
  auto* self = static_cast<WrittenFiles*>(parameter);
  for (;;) {
    std::string path;
    while (self->takeNext(path)) {
      if (!flushPath(path) && !self->failure) self->failure = GetLastError();
    }
    EnterCriticalSection(&self->lock);
    const bool done = self->ending && self->queue.empty();
    LeaveCriticalSection(&self->lock);
    if (done) return 0;
    WaitForSingleObject(self->wake, INFINITE);
  }
}

DWORD WrittenFiles::stopFlushing() {
  if (!thread) return ERROR_SUCCESS;
  EnterCriticalSection(&lock);
  ending = true;
  LeaveCriticalSection(&lock);
  SetEvent(wake);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(wake);
  DeleteCriticalSection(&lock);
  thread = wake = nullptr;
  return failure;
}

bool WrittenFiles::flush(const std::vector<std::string>& names) {
  if (const DWORD error = stopFlushing()) {
    SetLastError(error);
    return false;
  }
  std::vector<std::string> changedNames = names;
  changedNames.insert(changedNames.end(), flushed.begin(), flushed.end());
  return flushChangesTo(changedNames, unflushed);
}
