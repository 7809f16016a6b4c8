#pragma once
#include <cstdint>

namespace Escort {

// What the extractor reports about each file it writes. Implemented by the
// installation's progress reporter; the extractor knows nothing of windows.
class FileExtractorStatus {
 public:
  virtual void fileStarted(const char* archivePath, const char* destinationPath) = 0;
  virtual void fileProgress(uint32_t compressedFed, uint32_t compressedSize, uint32_t inflated,
                            uint32_t uncompressedSize) = 0;
  virtual void fileFinished() = 0;

 protected:
  ~FileExtractorStatus() = default;  // never deleted through the interface
};

}  // namespace Escort
