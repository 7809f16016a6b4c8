#include "payload_files.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "payload_layout.h"

namespace PayloadTool {
namespace {

constexpr size_t kChunkIdDigits = 5;
const std::string kChunkPrefix = "chunk";
const std::string kChunkSuffix = ".bin";

}  // namespace

std::string chunkFileName(uint32_t chunkId) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(chunkId));
  return kChunkPrefix + digits + kChunkSuffix;
}

uint32_t chunkIdOfFileName(const std::string& fileName) {
  if (fileName.size() != kChunkPrefix.size() + kChunkIdDigits + kChunkSuffix.size() ||
      fileName.compare(0, kChunkPrefix.size(), kChunkPrefix) != 0 ||
      fileName.compare(fileName.size() - kChunkSuffix.size(), kChunkSuffix.size(), kChunkSuffix) !=
          0)
    return 0;
  uint32_t id = 0;
  for (size_t i = kChunkPrefix.size(); i < kChunkPrefix.size() + kChunkIdDigits; ++i) {
    char c = fileName[i];
    if (c < '0' || c > '9') return 0;
    id = id * 10 + uint32_t(c - '0');
  }
  return id <= kMaxChunkCount ? id : 0;
}

bool isPayloadFileName(const std::string& fileName) {
  return fileName == kCatalogFileName || fileName == kResourceScriptFileName ||
         chunkIdOfFileName(fileName) != 0;
}

bool readFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace PayloadTool
