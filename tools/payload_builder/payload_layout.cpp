#include "payload_layout.h"

#include "chunk_walk.h"

namespace PayloadTool {

uint64_t chunkCountFor(uint64_t streamBytes, uint32_t chunkSize) {
  return (streamBytes + chunkSize - 1) / chunkSize;
}

uint64_t streamOffsetOf(const Escort::CatalogEntry& entry, uint32_t chunkSize) {
  return (uint64_t(entry.chunkId) - 1) * chunkSize + entry.chunkOffset;
}

Escort::CatalogEntry entryAt(uint64_t streamOffset, uint32_t chunkSize, uint32_t compressedSize,
                             uint32_t uncompressedSize) {
  Escort::CatalogEntry entry;
  entry.chunkId = static_cast<uint16_t>(streamOffset / chunkSize + 1);
  entry.chunkOffset = static_cast<uint32_t>(streamOffset % chunkSize);
  entry.compressedSize = compressedSize;
  entry.uncompressedSize = uncompressedSize;
  return entry;
}

uint32_t chunkSpanOf(const Escort::CatalogEntry& entry, uint32_t chunkSize) {
  // Counted with the reader's own walk, so a record it would refuse spans nothing.
  Escort::ChunkWalk walk(entry, chunkSize);
  Escort::ChunkPiece piece;
  uint32_t span = 0;
  while (walk.next(piece)) ++span;
  return span;
}

}  // namespace PayloadTool
