#pragma once
#include <windows.h>

#include <cstdint>

#include "file_extractor_status.h"
#include "journal_interface.h"
#include "uninstall_log_interface.h"

namespace Escort {

// Inflates the payload carried in a module's resources to disk.
class FileExtractor {
 public:
  virtual bool open(HINSTANCE module, FileExtractorStatus* status) = 0;
  virtual bool closeCatalog() = 0;
  virtual int extractFile(const char* archivePath, const char* destinationPath,
                          bool versionAware) = 0;
  virtual int extractTree(const char* prefix, const char* destinationDirectory,
                          UninstallerSetup* uninstallLog, const char* description) = 0;
  virtual int entrySize(const char* archivePath, uint32_t* compressedSize,
                        uint32_t* uncompressedSize) = 0;
  virtual int treeSize(const char* prefix, uint32_t* compressedSum, uint32_t* uncompressedSum) = 0;
  // From now on every directory and file the extractor creates, and every
  // file it replaces, is reported to `log` before it is made, and a replaced
  // file is kept aside under the name given there. Null: nothing is reported
  // or kept.
  virtual void setUndoLog(UndoLog* log) = 0;

 protected:
  ~FileExtractor() = default;  // the one instance lives as long as the process
};

// The process-wide extractor, created on the first call.
FileExtractor* getFileExtractor();

}  // namespace Escort
