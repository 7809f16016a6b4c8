#include "payload_listing.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "payload_writer.h"
#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;

namespace {

// Two entries stored in reverse, one repeated path, reserved bytes and a trailer.
PayloadLayout handMadeLayout() {
  PayloadLayout layout;
  layout.chunkSize = 16;
  PayloadLayoutEntry a = layoutEntry("\\ks\\a.txt", std::string(100, 'a'));
  PayloadLayoutEntry b = layoutEntry("\\ks\\b.txt", "b");
  b.streamOffset = 0;
  a.streamOffset = b.stream.size();
  a.reserved = 0x7C91;
  PayloadLayoutEntry again = layoutEntry("\\ks\\a.txt", "again");
  again.streamOffset = a.stream.size() + b.stream.size();
  layout.entries = {a, b, again};
  layout.catalogTrailer = "xyz";
  return layout;
}

std::string listing(const std::string& directory) {
  PayloadReader payload;
  std::string error;
  EXPECT_TRUE(payload.open(directory, error)) << error;
  std::ostringstream out;
  printListing(payload, out);
  return out.str();
}

}  // namespace

TEST(PayloadListing, ShowsHeaderEveryRecordAndWhichDuplicateCounts) {
  ScratchDir scratch;
  PayloadLayout layout = handMadeLayout();
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "payload", error)) << error;

  const std::string text = listing(scratch / "payload");
  EXPECT_NE(text.find("catalog: chunk size 16, 3 records, 3 bytes after the last record\n"),
            std::string::npos)
      << text;
  // chunk, offset, compressed, uncompressed, reserved, path
  const std::string sizeOfA = std::to_string(layout.entries[0].stream.size());
  const std::string sizeOfB = std::to_string(layout.entries[1].stream.size());
  EXPECT_TRUE(std::regex_search(
      text, std::regex("\n +1 +" + sizeOfB + " +" + sizeOfA + " +100 +7c91  \\\\ks\\\\a\\.txt\n")))
      << text;
  EXPECT_TRUE(std::regex_search(
      text, std::regex("\n +1 +0 +" + sizeOfB + " +1 +0000  \\\\ks\\\\b\\.txt\n")))
      << text;
  EXPECT_NE(text.find("(repeats record 1; lookups find that one)"), std::string::npos) << text;
  EXPECT_NE(text.find("payload: 2 entries, "), std::string::npos) << text;
}

TEST(PayloadListing, SummaryLine_DescribesWhatLookupsSee) {
  ScratchDir scratch;
  PayloadLayout layout = handMadeLayout();
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "payload", error)) << error;
  PayloadReader payload;
  ASSERT_TRUE(payload.open(scratch / "payload", error)) << error;

  uint64_t streamBytes = 0;
  for (const PayloadLayoutEntry& entry : layout.entries) streamBytes += entry.stream.size();
  const uint64_t chunks = chunkCountFor(streamBytes, 16);
  // b (at 0) fits one chunk; a (after b) spans several; the repeated a is not seen.
  const uint32_t spanOfA = chunkSpanOf(payload.catalog().at("\\ks\\a.txt"), 16);
  ASSERT_GT(spanOfA, 1u);
  EXPECT_EQ(payloadSummaryLine(payload),
            "payload: 2 entries, " + std::to_string(chunks) +
                " chunks (chunk size 16), 1 spanning more than one chunk, longest " +
                std::to_string(spanOfA) + " chunks, " + std::to_string(streamBytes) +
                " stream bytes");
}

TEST(PayloadListing, MarksPathsUnsafeToInstall) {
  ScratchDir scratch;
  PayloadLayout layout;
  layout.chunkSize = 16;
  layout.entries = {layoutEntry("\\ks\\..\\evil.txt", "x"), layoutEntry("\\ks\\fine.txt", "y")};
  layout.entries[1].streamOffset = layout.entries[0].stream.size();
  std::string error;
  ASSERT_TRUE(writePayload(layout, scratch / "payload", error)) << error;
  const std::string text = listing(scratch / "payload");
  EXPECT_NE(text.find("\\ks\\..\\evil.txt\n      (unsafe to install: component \"..\""), std::string::npos) << text;
  EXPECT_EQ(text.find("fine.txt\n      (unsafe"), std::string::npos) << text;
}
