#include "catalog.h"

#include <cstring>

namespace Escort {
namespace {

uint32_t readU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t readU16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

CatalogReadResult readCatalog(const unsigned char* data, size_t size,
                              CatalogHeader& header, Catalog& catalog) {
  if (size < kCatalogHeaderSize) return CatalogReadResult::TooShortForHeader;
  CatalogHeader read;
  read.chunkSize = readU32(data);
  read.entryCount = readU32(data + 4);
  if (read.chunkSize == 0) return CatalogReadResult::ZeroChunkSize;

  Catalog records;
  size_t pos = kCatalogHeaderSize;
  for (uint32_t i = 0; i < read.entryCount; ++i) {
    if (size - pos < kCatalogRecordFixedSize) return CatalogReadResult::RecordOutOfBounds;
    const unsigned char* record = data + pos;
    uint32_t pathLength = readU32(record + 16);
    if (size - pos - kCatalogRecordFixedSize < pathLength)
      return CatalogReadResult::RecordOutOfBounds;

    CatalogEntry entry;
    entry.chunkId = readU16(record);  // the two reserved bytes after it are not ours
    entry.chunkOffset = readU32(record + 4);
    entry.compressedSize = readU32(record + 8);
    entry.uncompressedSize = readU32(record + 12);
    const char* path = reinterpret_cast<const char*>(record + kCatalogRecordFixedSize);
    const void* nul = std::memchr(path, 0, pathLength);
    size_t keyLength = nul ? static_cast<const char*>(nul) - path : pathLength;
    records.emplace(std::string(path, keyLength), entry);  // a duplicate keeps the first

    pos += kCatalogRecordFixedSize + pathLength;
  }

  header = read;
  // merge() leaves a key that is already in the catalog where it was: first one wins.
  catalog.merge(records);
  return CatalogReadResult::Ok;
}

}  // namespace Escort
