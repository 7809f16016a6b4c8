#pragma once
// The data of the files a run writes, on the disk before the run commits.
// Where Windows flushes a whole volume (XP..11, for an administrator, on a
// local drive: FlushFileBuffers in MSDN), one flush of it at the end serves
// every file there. Where it will not (a network drive; under Wine 8.0, every
// drive), each file is flushed as soon
// as it is written, on a thread of its own, while the run writes the next:
// flushed one by one at the end, thousands of files would each wait for the
// disk in turn.
#include <windows.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

class WrittenFiles {
 public:
  WrittenFiles() = default;
  WrittenFiles(const WrittenFiles&) = delete;
  WrittenFiles& operator=(const WrittenFiles&) = delete;
  ~WrittenFiles() { stopFlushing(); }

  // Tries to flush the volumes of `paths` whole, once each: on those that
  // refuse it, files are flushed one by one from now on.
  void begin(const std::vector<std::string>& paths);
  // The file at `path` is written whole and closed; from one thread at a time.
  void written(const std::string& path);
  // Every file written so far, and the folder of each and of `names` (made,
  // removed, renamed in), on the disk. False, with the last error, when a
  // flush failed.
  bool flush(const std::vector<std::string>& names);

 private:
  static DWORD WINAPI flushInTurn(void* self);
  bool takeNext(std::string& path);
  // Waits until the thread has flushed all it was given; the first error it met, if any.
  DWORD stopFlushing();

  std::set<std::string> wholeVolumes;  // "c:": flushed whole at the end
  std::vector<std::string> unflushed;  // files whose data the end flushes
  std::vector<std::string> flushed;    // files flushed on the thread: the end flushes their folders
  CRITICAL_SECTION lock;
  HANDLE wake = nullptr;  // set when the queue gains a file, and at the end
  HANDLE thread = nullptr;
  std::deque<std::string> queue;
  bool ending = false;
  DWORD failure = ERROR_SUCCESS;  // the first flush that failed on the thread
};
