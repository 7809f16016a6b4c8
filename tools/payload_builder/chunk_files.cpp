#include "chunk_files.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "payload_files.h"

namespace PayloadTool {
namespace {

// Chunks may be far larger than what is worth holding at once.
constexpr uint64_t kCopyBufferSize = 64 * 1024;

bool copyBytes(std::istream& in, std::ostream& out, uint64_t count, std::vector<char>& buffer) {
  while (count > 0) {
    auto piece = static_cast<std::streamsize>(std::min<uint64_t>(count, buffer.size()));
    if (!in.read(buffer.data(), piece) || !out.write(buffer.data(), piece)) return false;
    count -= static_cast<uint64_t>(piece);
  }
  return true;
}

}  // namespace

bool writeChunkFiles(std::istream& stream, uint64_t streamBytes, uint32_t chunkSize,
                     const std::string& directory) {
  std::vector<char> buffer(std::min<uint64_t>(chunkSize, kCopyBufferSize));
  uint32_t chunkId = 1;
  for (uint64_t done = 0; done < streamBytes; done += chunkSize, ++chunkId) {
    std::ofstream chunk(directory + "/" + chunkFileName(chunkId),
                        std::ios::binary | std::ios::trunc);
    if (!copyBytes(stream, chunk, std::min<uint64_t>(chunkSize, streamBytes - done), buffer))
      return false;
    chunk.close();
    if (chunk.fail()) return false;
  }
  return true;
}

}  // namespace PayloadTool
