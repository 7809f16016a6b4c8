#pragma once
// UndoLog: the installation journal's interface, as the extractor reports to it.
#include <string>

namespace Escort {

// What the extractor is about to change on disk, reported before each change,
// so that an installation that fails later, or is ended from outside, can be
// taken back. A report that returns false could not be recorded (the last
// error says why): the change is then not made.
class UndoLog {
 public:
  // What the log knows of the file at `path` already: nothing, that none
  // stood there, or that an earlier one stood there, when it was looked at.
  enum class Known { Nothing, NoFile, EarlierFile };
  virtual Known knownFile(const char* path) = 0;
  virtual bool directoryWillBeCreated(const char* directory) = 0;
  // A file is about to be put at `path`, where none stands. Refused with
  // ERROR_FILE_NOT_FOUND when the log knows of an earlier file there, which
  // may only be out of sight.
  virtual bool fileWillBeCreated(const char* path) = 0;
  // The file at `path` is about to be renamed aside and a new one put in its
  // place; it stays aside until the installation ends. Given an empty
  // `keptCopy`, the log names where it goes; given a name (the one it named
  // was taken meanwhile), the log records that one instead.
  virtual bool fileWillBeReplaced(const char* path, std::string& keptCopy) = 0;
  // The file at `path` is written whole: the log sees it to the disk before
  // the installation may end. `file`, when not null, is that file still open
  // for writing, which the log now owns: flushing it through that handle
  // spares opening it again. False, with the last error, when the log closed
  // it at once and the closing failed (data the system could not write).
  virtual bool fileWritten(const char* path, void* file) = 0;

 protected:
  ~UndoLog() = default;  // never deleted through the interface
};

}  // namespace Escort
