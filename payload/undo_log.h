#pragma once

namespace Escort {

// What the extractor is about to change on disk, reported before each change,
// so that an installation that fails later, or is ended from outside, can be
// taken back. A report that returns false could not be recorded: the change
// is then not made.
class UndoLog {
 public:
  virtual bool directoryWillBeCreated(const char* directory) = 0;
  // A file is about to be put at `path`, where none stood.
  virtual bool fileWillBeCreated(const char* path) = 0;
  // The file at `path` is about to be renamed to `keptCopy`, beside it, and
  // a new one put in its place; it stays there until the installation ends.
  virtual bool fileWillBeReplaced(const char* path, const char* keptCopy) = 0;

 protected:
  ~UndoLog() = default;  // never deleted through the interface
};

}  // namespace Escort
