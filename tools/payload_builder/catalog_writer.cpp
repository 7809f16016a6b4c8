#include "catalog_writer.h"

namespace PayloadTool {
namespace {

void appendU16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void appendU32(std::string& out, uint32_t value) {
  appendU16(out, static_cast<uint16_t>(value & 0xFFFF));
  appendU16(out, static_cast<uint16_t>(value >> 16));
}

}  // namespace

std::string serializeCatalog(uint32_t chunkSize, const std::vector<Escort::CatalogRecord>& records,
                             const std::string& trailer) {
  std::string out;
  appendU32(out, chunkSize);
  appendU32(out, static_cast<uint32_t>(records.size()));
  for (const Escort::CatalogRecord& record : records) {
    appendU16(out, record.entry.chunkId);
    appendU16(out, record.reserved);
    appendU32(out, record.entry.chunkOffset);
    appendU32(out, record.entry.compressedSize);
    appendU32(out, record.entry.uncompressedSize);
    appendU32(out, static_cast<uint32_t>(record.path.size()));
    out += record.path;
  }
  return out + trailer;
}

}  // namespace PayloadTool
