#include "chunk_walk.h"

#include <gtest/gtest.h>

using namespace Escort;

namespace {

struct Piece {
  uint32_t chunk, offset, length;
  bool operator==(const Piece& o) const { return chunk == o.chunk && offset == o.offset && length == o.length; }
};

std::vector<Piece> pieces(uint16_t chunkId, uint32_t offset, uint32_t size, uint32_t chunkSize = 65536) {
  CatalogEntry entry;
  entry.chunkId = chunkId;
  entry.chunkOffset = offset;
  entry.compressedSize = size;
  ChunkWalk walk(entry, chunkSize);
  std::vector<Piece> out;
  ChunkPiece p;
  while (walk.next(p)) out.push_back({p.chunkId, p.offset, p.length});
  return out;
}

}  // namespace

TEST(ChunkWalk, SpansFourChunksInOrder) {
  EXPECT_EQ(pieces(90, 60581, 150275),
            (std::vector<Piece>{{90, 60581, 4955}, {91, 0, 65536}, {92, 0, 65536}, {93, 0, 14248}}));
}

TEST(ChunkWalk, EntryEndingAtAChunkEndNeverTouchesTheNext) {
  EXPECT_EQ(pieces(5, 65000, 536), (std::vector<Piece>{{5, 65000, 536}}));
  EXPECT_EQ(pieces(5, 0, 131072), (std::vector<Piece>{{5, 0, 65536}, {6, 0, 65536}}));
}

TEST(ChunkWalk, EmptyEntryHasNoPieces) { EXPECT_TRUE(pieces(3, 100, 0).empty()); }

TEST(ChunkWalk, RecordsThatNameNoChunkDataAreInvalid) {
  auto valid = [](uint16_t chunk, uint32_t offset, uint32_t size, uint32_t chunkSize) {
    CatalogEntry entry;
    entry.chunkId = chunk;
    entry.chunkOffset = offset;
    entry.compressedSize = size;
    return ChunkWalk(entry, chunkSize).valid();
  };
  EXPECT_TRUE(valid(1, 0, 10, 65536));
  EXPECT_FALSE(valid(0, 0, 10, 65536)) << "chunk 0 is the catalog";
  EXPECT_FALSE(valid(1, 65536, 10, 65536)) << "offset at or past the chunk size";
  EXPECT_FALSE(valid(1, 0, 10, 0)) << "chunk size 0";
  EXPECT_TRUE(valid(65535, 0, 65536, 65536)) << "ends within the last possible chunk";
  EXPECT_FALSE(valid(65535, 0, 65537, 65536)) << "would need chunk 65,536";
  EXPECT_FALSE(valid(65535, 65535, 0xFFFFFFFF, 65536));
  EXPECT_TRUE(pieces(0, 0, 10).empty());
}
