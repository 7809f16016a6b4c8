#include "chunk_walk.h"

#include <algorithm>

namespace Escort {

ChunkWalk::ChunkWalk(const CatalogEntry& entry, uint32_t chunkSize)
    : chunkSize_(chunkSize),
      chunk_(entry.chunkId),
      offset_(entry.chunkOffset),
      remaining_(entry.compressedSize) {
  uint64_t lastChunk = entry.chunkId;
  if (entry.compressedSize > 0)
    lastChunk += (uint64_t(entry.chunkOffset) + entry.compressedSize - 1) / std::max(chunkSize, 1u);
  valid_ = chunkSize > 0 && entry.chunkId != 0 && entry.chunkOffset < chunkSize &&
           lastChunk <= 0xFFFF;
}

bool ChunkWalk::next(ChunkPiece& piece) {
  if (!valid_ || remaining_ == 0) return false;
  piece.chunkId = static_cast<uint16_t>(chunk_);
  piece.offset = offset_;
  piece.length = std::min(chunkSize_ - offset_, remaining_);
  ++chunk_;
  offset_ = 0;
  remaining_ -= piece.length;
  return true;
}

}  // namespace Escort
