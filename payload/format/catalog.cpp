#include "catalog.h"

#include <cstring>

namespace Escort {
namespace {

uint32_t readU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t readU16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

CatalogReadResult readCatalogRecords(const unsigned char* data, size_t size,
                                     CatalogHeader& header, std::vector<CatalogRecord>& records) {
  if (size < kCatalogHeaderSize) return CatalogReadResult::TooShortForHeader;
  CatalogHeader read;
  read.chunkSize = readU32(data);
  read.entryCount = readU32(data + 4);
  if (read.chunkSize == 0) return CatalogReadResult::ZeroChunkSize;

  std::vector<CatalogRecord> parsed;
  size_t pos = kCatalogHeaderSize;
  for (uint32_t i = 0; i < read.entryCount; ++i) {
    if (size - pos < kCatalogRecordFixedSize) return CatalogReadResult::RecordOutOfBounds;
    const unsigned char* record = data + pos;
    uint32_t pathLength = readU32(record + 16);
    if (size - pos - kCatalogRecordFixedSize < pathLength)
      return CatalogReadResult::RecordOutOfBounds;

    CatalogRecord parsedRecord;
    parsedRecord.entry.chunkId = readU16(record);
    parsedRecord.reserved = readU16(record + 2);
    parsedRecord.entry.chunkOffset = readU32(record + 4);
    parsedRecord.entry.compressedSize = readU32(record + 8);
    parsedRecord.entry.uncompressedSize = readU32(record + 12);
    parsedRecord.path.assign(reinterpret_cast<const char*>(record + kCatalogRecordFixedSize),
                             pathLength);
    parsed.push_back(std::move(parsedRecord));

    pos += kCatalogRecordFixedSize + pathLength;
  }

  header = read;
  records.insert(records.end(), std::make_move_iterator(parsed.begin()),
                 std::make_move_iterator(parsed.end()));
  return CatalogReadResult::Ok;
}

CatalogReadResult readCatalog(const unsigned char* data, size_t size,
                              CatalogHeader& header, Catalog& catalog) {
  CatalogHeader read;
  std::vector<CatalogRecord> records;
  CatalogReadResult result = readCatalogRecords(data, size, read, records);
  if (result != CatalogReadResult::Ok) return result;

  header = read;
  for (const CatalogRecord& record : records) {
    size_t nul = record.path.find('\0');
    // emplace leaves a key that is already in the catalog where it was: first one wins.
    catalog.emplace(record.path.substr(0, nul), record.entry);
  }
  return CatalogReadResult::Ok;
}

}  // namespace Escort
