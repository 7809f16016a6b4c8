#pragma once

namespace Escort {

// What the extractor changes on disk, reported as it happens, so that an
// installation that fails later can be taken back.
class UndoLog {
 public:
  virtual void directoryCreated(const char* directory) = 0;
  virtual void fileCreated(const char* path) = 0;
  // `keptCopy` holds what `path` held before, until the installation ends.
  virtual void fileReplaced(const char* path, const char* keptCopy) = 0;

 protected:
  ~UndoLog() = default;  // never deleted through the interface
};

}  // namespace Escort
