#pragma once
// The data of the files a run writes, on the disk before the run commits.
// Where Windows flushes a whole volume (XP..11, for an administrator, on a
// local drive: FlushFileBuffers in MSDN), one flush of it at the end serves
// every file there. Where it will not (a network drive; under Wine 8.0, every
// drive), each file is flushed as soon as it is written, on a few threads of
// their own, while the run writes the next: flushed one by one at the end,
// thousands of files would each wait for the disk in turn, and with several
// flushes under way at once the disk (or the server) writes them out together.
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
  // The file at `path` is written whole; from one thread at a time. `file`,
  // when not null, is its handle, open for writing, which this now owns. False,
  // with the last error, when closing it at once failed.
  bool written(const std::string& path, HANDLE file);
  // Every file written so far, and the folder of each and of `names` (made,
  // removed, renamed in), on the disk. False, with the last error, when a
  // flush failed.
  bool flush(const std::vector<std::string>& names);
  // Waits until the threads have flushed, and closed, all they were given;
  // the first error they met, if any. No file is flushed on them after it.
  DWORD stopFlushing();

 private:
  struct Written {
    std::string path;
    HANDLE file;  // open for writing, or null: opened by its path
  };
  static DWORD WINAPI flushInTurn(void* self);
  // The next file to flush; false when there is none, with `done` set when
  // none will come.
  bool takeNext(Written& next, bool& done);

  std::set<std::string> wholeVolumes;  // "c:": flushed whole at the end
  std::vector<std::string> unflushed;  // files whose data the end flushes
  std::vector<std::string> flushed;    // files flushed on the threads: the end flushes their folders
  CRITICAL_SECTION lock;
  HANDLE queued = nullptr;  // a semaphore: a count for each file queued, and one for each thread at the end
  std::vector<HANDLE> threads;
  std::deque<Written> queue;
  bool ending = false;
  DWORD failure = ERROR_SUCCESS;  // the first flush that failed on a thread
};
