#include "payload_layout.h"

#include <gtest/gtest.h>

using namespace PayloadTool;

TEST(PayloadLayout, ChunkCountFor_RoundsUp) {
  EXPECT_EQ(chunkCountFor(0, 65536), 0u);
  EXPECT_EQ(chunkCountFor(1, 65536), 1u);
  EXPECT_EQ(chunkCountFor(65536, 65536), 1u);
  EXPECT_EQ(chunkCountFor(65537, 65536), 2u);
  EXPECT_EQ(chunkCountFor(24348089, 65536), 372u);
}

TEST(PayloadLayout, EntryAt_SplitsTheStreamOffsetIntoChunkAndOffset) {
  Escort::CatalogEntry entry = entryAt(5807929, 65536, 615, 1841);
  EXPECT_EQ(entry.chunkId, 89);
  EXPECT_EQ(entry.chunkOffset, 40761u);
  EXPECT_EQ(entry.compressedSize, 615u);
  EXPECT_EQ(entry.uncompressedSize, 1841u);
  EXPECT_EQ(streamOffsetOf(entry, 65536), 5807929u);
}

TEST(PayloadLayout, EntryAt_ChunkBoundaryStartsTheNextChunk) {
  EXPECT_EQ(entryAt(65536, 65536, 1, 1).chunkId, 2);
  EXPECT_EQ(entryAt(65535, 65536, 1, 1).chunkId, 1);
}

TEST(PayloadLayout, ChunkSpanOf_CountsTouchedChunks) {
  Escort::CatalogEntry entry{90, 60581, 150275, 0};
  EXPECT_EQ(chunkSpanOf(entry, 65536), 4u);
  Escort::CatalogEntry endsAtBoundary{1, 65000, 536, 0};
  EXPECT_EQ(chunkSpanOf(endsAtBoundary, 65536), 1u);
  Escort::CatalogEntry namesNoChunk{0, 0, 10, 0};
  EXPECT_EQ(chunkSpanOf(namesNoChunk, 65536), 0u);
}
