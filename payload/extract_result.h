#pragma once

namespace Escort {

// Result codes of the extractor; the worker passes them on unchanged and the
// user sees the number, so the values are fixed.
enum ExtractResult {
  kExtractOk = 0,
  kEntryMissing = 1,
  kDirectoryNotReady = 2,
  kOutputFileFailed = 3,  // temporary name, opening the output, or moving it into place
  kChunkMissing = 4,      // also: a record whose data does not lie inside the chunk resources
  kChunkLoadFailed = 5,
  kChunkLockFailed = 6,
  kInflateInitFailed = 7,  // also: the working buffers could not be allocated
  kInflateFailed = 8,      // also: data that ends before, or goes on after, its zlib stream
  kWriteFailed = 9,
  kTreeEmpty = 10,
  kCancelled = 11,  // a file another program holds, and the user chose not to wait
};

}  // namespace Escort
