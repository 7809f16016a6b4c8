#pragma once
#include <cstdint>

#include "failure.h"

namespace Escort {

// What the extractor reports about each file it writes. Implemented by the
// installation's progress reporter; the extractor knows nothing of windows.
class FileExtractorStatus {
 public:
  virtual void fileStarted(const char* archivePath, const char* destinationPath) = 0;
  virtual void fileProgress(uint32_t compressedFed, uint32_t compressedSize, uint32_t inflated,
                            uint32_t uncompressedSize) = 0;
  virtual void fileFinished() = 0;
  // What failed for a file (its folder, its data, putting it in place), where
  // and why; told before the extractor returns its code, so that the user can
  // learn what and why.
  virtual void fileFailed(const Failure& failure) = 0;
  // The file `path` cannot be replaced because another program holds it.
  // True: try again (the user has closed that program); false: give up.
  virtual bool fileInUse(const char* path) = 0;

 protected:
  ~FileExtractorStatus() = default;  // never deleted through the interface
};

}  // namespace Escort
