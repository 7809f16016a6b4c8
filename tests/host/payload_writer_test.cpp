#include "payload_writer.h"

#include <gtest/gtest.h>

#include "payload_reader.h"
#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;

namespace {

std::vector<Escort::CatalogRecord> recordsOf(const std::string& directory) {
  PayloadReader payload;
  std::string error;
  EXPECT_TRUE(payload.open(directory, error)) << error;
  return payload.records();
}

}  // namespace

TEST(PayloadWriter, DefaultPlacement_BackToBackInListOrder) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 10;
  layout.entries = {layoutEntry("\\ks\\b.txt", "bravo"), layoutEntry("\\ks\\a.txt", "alpha")};
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "out", error)) << error;

  auto records = recordsOf(scratch / "out");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].path, "\\ks\\b.txt");  // the list order, not sorted
  EXPECT_EQ(records[0].entry.chunkId, 1);
  EXPECT_EQ(records[0].entry.chunkOffset, 0u);
  const uint32_t firstSize = records[0].entry.compressedSize;
  EXPECT_EQ(streamOffsetOf(records[1].entry, 10), firstSize);
  EXPECT_EQ(records[1].entry.uncompressedSize, 5u);

  auto contents = directoryContents(scratch / "out");
  std::string stream;
  for (uint32_t id = 1; contents.count(chunkFileName(id)); ++id)
    stream += contents[chunkFileName(id)];
  EXPECT_EQ(stream, compressStream("bravo") + compressStream("alpha"));
  EXPECT_EQ(contents[chunkFileName(1)].size(), 10u);
}

TEST(PayloadWriter, ExplicitOffsets_LeaveZeroGapsAndKeepReservedAndTrailer) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 8;
  PayloadLayoutEntry late{"\\ks\\late", "LATE", 4, 20, 0x7C91};
  PayloadLayoutEntry early{"\\ks\\early", "EARLY", 5, 2, 0};
  layout.entries = {late, early};
  layout.catalogTrailer = "tail";
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "out", error)) << error;

  auto records = recordsOf(scratch / "out");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].entry.chunkId, 3);
  EXPECT_EQ(records[0].entry.chunkOffset, 4u);
  EXPECT_EQ(records[0].reserved, 0x7C91);
  EXPECT_EQ(records[1].entry.chunkId, 1);
  EXPECT_EQ(records[1].entry.chunkOffset, 2u);

  auto contents = directoryContents(scratch / "out");
  EXPECT_EQ(contents[chunkFileName(1)], std::string("\0\0EARLY\0", 8));
  EXPECT_EQ(contents[chunkFileName(2)], std::string(8, '\0'));
  EXPECT_EQ(contents[chunkFileName(3)], std::string("\0\0\0\0LATE", 8));
  EXPECT_EQ(contents["catalog.bin"].substr(contents["catalog.bin"].size() - 4), "tail");
}

TEST(PayloadWriter, DefaultPlacement_AfterEverythingPlacedSoFar) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 64;
  layout.entries = {PayloadLayoutEntry{"\\ks\\far", "FAR", 3, 30, 0},
                    PayloadLayoutEntry{"\\ks\\near", "NEAR", 4, 0, 0},
                    PayloadLayoutEntry{"\\ks\\next", "NEXT", 4, std::nullopt, 0}};
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "out", error)) << error;
  auto records = recordsOf(scratch / "out");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(streamOffsetOf(records[2].entry, 64), 33u);
}

TEST(PayloadWriter, Refuses_DataBeyondTheLastChunkId) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 1;
  layout.entries = {PayloadLayoutEntry{"\\ks\\x", "x", 1, 65535, 0}};
  std::string error;
  EXPECT_FALSE(writePayload(layout, scratch / "out", error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(scratch / "out"));
}

TEST(PayloadWriter, Refuses_ChunkSizeZero) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 0;
  std::string error;
  EXPECT_FALSE(writePayload(layout, scratch / "out", error));
  EXPECT_FALSE(std::filesystem::exists(scratch / "out"));
}
