#pragma once
#include <cstdint>

#include "catalog.h"

namespace Escort {

// One contiguous piece of an entry's compressed data inside one chunk.
struct ChunkPiece {
  uint16_t chunkId;
  uint32_t offset;
  uint32_t length;
};

// Walks the pieces of one entry: from chunkOffset in chunkId, then from offset 0
// of each following chunk, until compressedSize bytes are covered. The chunk after
// the one the entry ends in is never produced, even at an exact chunk boundary.
class ChunkWalk {
 public:
  ChunkWalk(const CatalogEntry& entry, uint32_t chunkSize);

  // Whether the record can name real chunk data at all: chunk 0 is the catalog,
  // an offset of chunkSize or more lies outside every chunk, and the data must
  // end within chunk 65,535. A damaged catalog can say otherwise; next() then
  // produces nothing.
  bool valid() const { return valid_; }

  bool next(ChunkPiece& piece);

 private:
  uint32_t chunkSize_;
  uint32_t chunk_;
  uint32_t offset_;
  uint32_t remaining_;
  bool valid_;
};

}  // namespace Escort
