#include "payload_verifier.h"

#include <gtest/gtest.h>

#include "catalog_writer.h"
#include "payload_builder.h"
#include "payload_writer.h"
#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;
namespace fs = std::filesystem;

namespace {

const std::string kAlpha = "alpha alpha alpha";
const std::string kBravo = "bravo";
const std::string kBigRandom = randomBytes(3000, 11);

class PayloadVerify : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.writeFile("tree/ks/a.txt", kAlpha);
    scratch.writeFile("tree/ks/b.txt", kBravo);
    scratch.writeFile("tree/fs/c.dll", kBigRandom);
  }

  // The tree's payload as the builder makes it, chunks of 256 bytes.
  void buildFromTree() {
    BuildReport report;
    ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "payload", 256, report))
        << report.problems.front();
  }

  void writeLayout(const PayloadLayout& layout) {
    std::string error;
    ASSERT_TRUE(writePayload(layout, scratch / "payload", error)) << error;
  }

  VerifyReport verify() {
    PayloadReader payload;
    std::string error;
    EXPECT_TRUE(payload.open(scratch / "payload", error)) << error;
    return verifyPayload(payload, scratch / "tree");
  }

  VerifyReport verifyWithoutTree() {
    PayloadReader payload;
    std::string error;
    EXPECT_TRUE(payload.open(scratch / "payload", error)) << error;
    return verifyPayload(payload, "");
  }

  // Expects exactly one problem, and that it holds `text`.
  void expectOneProblem(const std::string& text) {
    VerifyReport report = verify();
    ASSERT_EQ(report.problems.size(), 1u) << (report.problems.empty() ? "" : report.problems[0]);
    EXPECT_NE(report.problems[0].find(text), std::string::npos) << report.problems[0];
  }

  // The three tree files in catalog order, data stored last to first.
  PayloadLayout reversedLayout() {
    PayloadLayout layout;
    layout.chunkSize = 256;
    layout.entries = {layoutEntry("\\fs\\c.dll", kBigRandom), layoutEntry("\\ks\\a.txt", kAlpha),
                      layoutEntry("\\ks\\b.txt", kBravo)};
    uint64_t offset = 0;
    for (auto entry = layout.entries.rbegin(); entry != layout.entries.rend(); ++entry) {
      entry->streamOffset = offset;
      offset += entry->stream.size();
    }
    return layout;
  }

  ScratchDir scratch;
};

void overwriteByte(const std::string& file, size_t at) {
  std::string bytes;
  ASSERT_TRUE(readFileBytes(file, bytes));
  ASSERT_LT(at, bytes.size());
  bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
  ASSERT_TRUE(writeFileBytes(file, bytes));
}

}  // namespace

TEST_F(PayloadVerify, AcceptsOtherWritersVariety) {
  PayloadLayout layout = reversedLayout();
  for (PayloadLayoutEntry& entry : layout.entries) entry.reserved = 0x7C91;
  PayloadLayoutEntry repeated = layoutEntry("\\ks\\a.txt", "another alpha");
  layout.entries.push_back(repeated);
  layout.catalogTrailer = std::string(5276, '\xEE');
  writeLayout(layout);

  VerifyReport report = verify();
  EXPECT_TRUE(report.problems.empty()) << report.problems.front();
  ASSERT_EQ(report.notes.size(), 1u);
  EXPECT_NE(report.notes[0].find("record 4 repeats record 2"), std::string::npos)
      << report.notes[0];
}

TEST_F(PayloadVerify, Detects_CorruptedChunk) {
  buildFromTree();
  overwriteByte(scratch / "payload/chunk00005.bin", 100);  // inside \fs\c.dll, stored first
  expectOneProblem("\\fs\\c.dll");
}

TEST_F(PayloadVerify, Detects_FileMissingFromTree) {
  buildFromTree();
  fs::remove(scratch / "tree/ks/b.txt");
  expectOneProblem("\\ks\\b.txt: not in the tree");
}

TEST_F(PayloadVerify, Detects_FileMissingFromPayload) {
  buildFromTree();
  scratch.writeFile("tree/ks/new.txt", "new");
  expectOneProblem("ks/new.txt: in the tree but not in the payload");
}

TEST_F(PayloadVerify, Detects_ChangedFileOfTheSameSize) {
  buildFromTree();
  scratch.writeFile("tree/ks/b.txt", "BRAVO");
  expectOneProblem("\\ks\\b.txt: differs");
}

TEST_F(PayloadVerify, Detects_LongerFileInTree) {
  buildFromTree();
  scratch.writeFile("tree/ks/b.txt", kBravo + "!");
  expectOneProblem("\\ks\\b.txt: differs");
}

TEST_F(PayloadVerify, Detects_MissingChunkFile) {
  buildFromTree();
  fs::remove(scratch / "payload/chunk00003.bin");
  VerifyReport report = verify();
  ASSERT_FALSE(report.problems.empty());
  EXPECT_NE(report.problems[0].find("chunk 3: missing"), std::string::npos) << report.problems[0];
}

TEST_F(PayloadVerify, Detects_ShortChunkBeforeTheLast) {
  writeLayout(reversedLayout());
  std::string chunk;
  ASSERT_TRUE(readFileBytes(scratch / "payload/chunk00001.bin", chunk));
  ASSERT_TRUE(writeFileBytes(scratch / "payload/chunk00001.bin", chunk.substr(0, 255)));
  VerifyReport report = verify();
  ASSERT_FALSE(report.problems.empty());
  EXPECT_NE(report.problems[0].find("chunk 1: 255 bytes"), std::string::npos) << report.problems[0];
}

TEST_F(PayloadVerify, Detects_EntryRunningPastTheLastChunk) {
  buildFromTree();
  PayloadReader payload;
  std::string error;
  ASSERT_TRUE(payload.open(scratch / "payload", error));
  const std::string last = scratch / ("payload/" + chunkFileName(payload.highestChunkId()));
  std::string chunk;
  ASSERT_TRUE(readFileBytes(last, chunk));
  ASSERT_TRUE(writeFileBytes(last, chunk.substr(0, chunk.size() - 1)));
  expectOneProblem("\\ks\\b.txt: data runs past the end of the last chunk");
}

TEST_F(PayloadVerify, Detects_OverlappingEntries) {
  PayloadLayout layout = reversedLayout();
  layout.entries[2].streamOffset = layout.entries[1].streamOffset;  // b.txt over a.txt
  layout.entries[2].stream = layout.entries[1].stream;
  layout.entries[2].uncompressedSize = layout.entries[1].uncompressedSize;
  writeLayout(layout);
  VerifyReport report = verify();
  bool overlapSeen = false;
  for (const std::string& problem : report.problems)
    overlapSeen |= problem.find("overlaps") != std::string::npos;
  EXPECT_TRUE(overlapSeen);
}

TEST_F(PayloadVerify, Detects_BytesAfterTheStreamEnd) {
  PayloadLayout layout = reversedLayout();
  layout.entries[2].stream += '\0';
  layout.entries[2].streamOffset = 0;
  layout.entries[1].streamOffset = *layout.entries[1].streamOffset + 1;
  layout.entries[0].streamOffset = *layout.entries[0].streamOffset + 1;
  writeLayout(layout);
  expectOneProblem("\\ks\\b.txt: bytes follow the end");
}

TEST_F(PayloadVerify, Detects_StreamCutShort) {
  PayloadLayout layout = reversedLayout();
  layout.entries[1].stream.pop_back();
  writeLayout(layout);
  expectOneProblem("\\ks\\a.txt: zlib stream is cut short");
}

TEST_F(PayloadVerify, Detects_WrongUncompressedSize) {
  PayloadLayout layout = reversedLayout();
  layout.entries[1].uncompressedSize += 1;
  layout.entries[2].uncompressedSize -= 1;
  writeLayout(layout);
  VerifyReport report = verify();
  ASSERT_EQ(report.problems.size(), 2u);
  EXPECT_NE(report.problems[0].find("\\ks\\a.txt: inflates to 17 bytes"), std::string::npos)
      << report.problems[0];
  EXPECT_NE(report.problems[1].find("\\ks\\b.txt: inflates to more than"), std::string::npos)
      << report.problems[1];
}

TEST_F(PayloadVerify, Detects_PathNotInStoredForm) {
  PayloadLayout layout = reversedLayout();
  layout.entries[2].path = "\\KS\\b.txt";
  writeLayout(layout);
  VerifyReport report = verify();
  ASSERT_EQ(report.problems.size(), 3u);  // the form, and both sides of the lost match
  EXPECT_NE(report.problems[0].find("\\KS\\b.txt: path holds upper case"), std::string::npos)
      << report.problems[0];
}

TEST_F(PayloadVerify, Detects_ChunkOffsetOutsideTheChunk) {
  writeLayout(reversedLayout());
  std::string catalog;
  ASSERT_TRUE(readFileBytes(scratch / "payload/catalog.bin", catalog));
  catalog[8 + 2 * (20 + 9) + 5] = 1;  // b.txt's chunkOffset, second byte: 0 becomes 256
  ASSERT_TRUE(writeFileBytes(scratch / "payload/catalog.bin", catalog));
  expectOneProblem("\\ks\\b.txt: chunk offset");
}

TEST_F(PayloadVerify, WithoutTree_ChecksSizesAndPathsAlone) {
  PayloadLayout layout = reversedLayout();
  writeLayout(layout);
  EXPECT_TRUE(verifyWithoutTree().problems.empty());

  layout.entries[1].uncompressedSize += 1;
  layout.entries[2].path = "\\ks\\..\\b.txt";
  writeLayout(layout);
  VerifyReport report = verifyWithoutTree();
  ASSERT_EQ(report.problems.size(), 2u);
  EXPECT_NE(report.problems[0].find("\\ks\\..\\b.txt: component \"..\""), std::string::npos)
      << report.problems[0];
  EXPECT_NE(report.problems[1].find("\\ks\\a.txt: inflates to 17 bytes"), std::string::npos)
      << report.problems[1];
}

TEST_F(PayloadVerify, Detects_PathsUnsafeToInstall) {
  for (const char* path : {"\\ks\\..\\..\\b.txt", "\\ks\\c:b.txt", "\\ks\\aux.txt", "\\ks\\b.txt."}) {
    PayloadLayout layout = reversedLayout();
    layout.entries[2].path = path;
    writeLayout(layout);
    VerifyReport report = verifyWithoutTree();
    ASSERT_EQ(report.problems.size(), 1u) << path;
    EXPECT_EQ(report.problems[0].find(path), 0u) << report.problems[0];
  }
}
