#include "written_files.h"

#include "change_flush.h"
#include "durable_changes.h"
#include "text_format.h"

namespace {

// Flushes under way at once where files are flushed one by one.
constexpr int kFlushThreads = 4;

std::string driveOf(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' ? asciiLowerCase(path.substr(0, 2)) : std::string();
}

// Both the flush and the closing report what the system could not write.
bool flushAndClose(HANDLE file, const std::string& path) {
  const bool flushed = durable::flushFile(file, path);
  const DWORD error = GetLastError();
  const bool closed = CloseHandle(file) != FALSE;
  if (!flushed) SetLastError(error);
  return flushed && closed;
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
  queued = CreateSemaphoreA(nullptr, 0, MAXLONG, nullptr);
  if (!queued) return;  // the files are then flushed at the end
  InitializeCriticalSection(&lock);
  for (int n = 0; n < kFlushThreads; ++n) {
    const HANDLE thread = CreateThread(nullptr, 0, flushInTurn, this, 0, nullptr);
    if (thread) threads.push_back(thread);
  }
  if (!threads.empty()) return;
  DeleteCriticalSection(&lock);
  CloseHandle(queued);
  queued = nullptr;
}

bool WrittenFiles::written(const std::string& path, HANDLE file) {
  if (threads.empty() || wholeVolumes.count(driveOf(path))) {
    unflushed.push_back(path);
    return !file || CloseHandle(file);
  }
  flushed.push_back(path);
  EnterCriticalSection(&lock);
  queue.push_back({path, file});
  LeaveCriticalSection(&lock);
  ReleaseSemaphore(queued, 1, nullptr);
  return true;
}

bool WrittenFiles::takeNext(Written& next, bool& done) {
  EnterCriticalSection(&lock);
  const bool taken = !queue.empty();
  if (taken) {
    next = queue.front();
    queue.pop_front();
  }
  done = !taken && ending;
  LeaveCriticalSection(&lock);
  return taken;
}

DWORD WINAPI WrittenFiles::flushInTurn(void* parameter) {
  auto* self = static_cast<WrittenFiles*>(parameter);
  // One file for each count of the semaphore; a count with nothing queued
  // comes only at the end.
  for (;;) {
    WaitForSingleObject(self->queued, INFINITE);
    Written next{};
    bool done = false;
    if (self->takeNext(next, done)) {
      if (!(next.file ? flushAndClose(next.file, next.path) : flushPath(next.path))) {
        const DWORD error = GetLastError();
        EnterCriticalSection(&self->lock);
        if (!self->failure) self->failure = error;
        LeaveCriticalSection(&self->lock);
      }
    } else if (done) {
      return 0;
    }
  }
}

DWORD WrittenFiles::stopFlushing() {
  if (threads.empty()) return failure;
  EnterCriticalSection(&lock);
  ending = true;
  LeaveCriticalSection(&lock);
  ReleaseSemaphore(queued, static_cast<LONG>(threads.size()), nullptr);
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
  threads.clear();
  CloseHandle(queued);
  DeleteCriticalSection(&lock);
  queued = nullptr;
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
