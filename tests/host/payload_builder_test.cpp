#include "payload_builder.h"

#include <gtest/gtest.h>

#include "payload_reader.h"
#include "payload_verifier.h"
#include "scratch_dir.h"
#include "test_data.h"

using namespace PayloadTool;
namespace fs = std::filesystem;

namespace {

// A small tree in the shape of the real one: a program root, a simulator
// root, mixed case, an empty file and one file spanning several chunks.
void writeSampleTree(const ScratchDir& scratch, const std::string& tree) {
  scratch.writeFile(tree + "/ks/ReadMe.txt", "Kestrel 3 readme\r\n");
  scratch.writeFile(tree + "/ks/empty.cfg", "");
  scratch.writeFile(tree + "/ks/Docs/guide.html", std::string(5000, 'g'));
  scratch.writeFile(tree + "/fs/modules/kestrel.dll", randomBytes(10000, 7));
  scratch.writeFile(tree + "/fs/aircraft/kestrel/aircraft.cfg", "[fltsim.0]\r\n");
}

PayloadReader openPayload(const std::string& directory) {
  PayloadReader payload;
  std::string error;
  EXPECT_TRUE(payload.open(directory, error)) << error;
  return payload;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

class PayloadBuild : public ::testing::Test {
 protected:
  void SetUp() override { writeSampleTree(scratch, "tree"); }

  // Builds and expects a refusal that leaves `out` exactly as it was.
  std::vector<std::string> expectRefused(uint32_t chunkSize = 1024) {
    const std::string out = scratch / "out";
    bool existed = fs::exists(out);
    auto before = existed ? directoryContents(out) : std::map<std::string, std::string>{};
    BuildReport report;
    EXPECT_FALSE(buildPayload(scratch / "tree", out, chunkSize, report));
    EXPECT_FALSE(report.problems.empty());
    EXPECT_EQ(fs::exists(out), existed);
    if (existed) {
      EXPECT_EQ(directoryContents(out), before);
    }
    // Nor any staging directory left beside it.
    for (const auto& entry : fs::directory_iterator(scratch.path()))
      EXPECT_TRUE(entry.path().filename() == "tree" || entry.path().filename() == "out")
          << entry.path();
    return report.problems;
  }

  ScratchDir scratch;
};

}  // namespace

TEST_F(PayloadBuild, SameTree_ByteIdenticalWhereverBuilt) {
  ScratchDir elsewhere;
  writeSampleTree(elsewhere, "deeper/place/tree");
  BuildReport first, second;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, first));
  ASSERT_TRUE(
      buildPayload(elsewhere / "deeper/place/tree", elsewhere / "deeper/out", 1024, second));

  auto contents = directoryContents(scratch / "out");
  EXPECT_EQ(contents, directoryContents(elsewhere / "deeper/out"));
  EXPECT_EQ(contents.size(), 1 + 1 + first.summary.chunks);  // catalog, script, chunks
  EXPECT_EQ(contents["payload.rc"].find(scratch.path()), std::string::npos);
}

TEST_F(PayloadBuild, Result_VerifiesAgainstItsTree) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  VerifyReport verified = verifyPayload(openPayload(scratch / "out"), scratch / "tree");
  EXPECT_TRUE(verified.problems.empty()) << verified.problems.front();
  EXPECT_TRUE(verified.notes.empty());
}

TEST_F(PayloadBuild, Records_SortedNormalisedAndStreamsBackToBack) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  PayloadReader payload = openPayload(scratch / "out");

  std::vector<std::string> paths;
  uint64_t expectedOffset = 0;
  for (const Escort::CatalogRecord& record : payload.records()) {
    paths.push_back(record.path);
    EXPECT_EQ(streamOffsetOf(record.entry, 1024), expectedOffset) << record.path;
    expectedOffset += record.entry.compressedSize;
    std::string head;
    ASSERT_TRUE(payload.readPiece({record.entry.chunkId, record.entry.chunkOffset, 1}, head));
    EXPECT_EQ(static_cast<unsigned char>(head[0]), 0x78) << record.path;
  }
  EXPECT_EQ(expectedOffset, payload.streamBytes());
  EXPECT_EQ(paths, (std::vector<std::string>{"\\fs\\aircraft\\kestrel\\aircraft.cfg",
                                             "\\fs\\modules\\kestrel.dll", "\\ks\\docs\\guide.html",
                                             "\\ks\\empty.cfg", "\\ks\\readme.txt"}));
  EXPECT_EQ(payload.catalog().at("\\ks\\empty.cfg").uncompressedSize, 0u);
  EXPECT_EQ(payload.catalog().at("\\ks\\readme.txt").uncompressedSize, 18u);
}

TEST_F(PayloadBuild, Chunks_AllFullButTheLast) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  PayloadReader payload = openPayload(scratch / "out");
  ASSERT_GT(payload.highestChunkId(), 2u);
  EXPECT_EQ(payload.chunkFileSizes().size(), payload.highestChunkId());
  for (const auto& [chunkId, size] : payload.chunkFileSizes()) {
    if (chunkId < payload.highestChunkId())
      EXPECT_EQ(size, 1024u) << chunkId;
    else
      EXPECT_EQ(size, payload.streamBytes() - (chunkId - 1) * 1024) << chunkId;
  }
}

TEST_F(PayloadBuild, Summary_CountsEntriesChunksAndSpans) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  const PayloadSummary& summary = report.summary;
  EXPECT_EQ(summary.entries, 5u);
  EXPECT_EQ(summary.chunkSize, 1024u);
  EXPECT_EQ(summary.chunks, chunkCountFor(summary.streamBytes, 1024));
  // The random 10,000 bytes cannot shrink: at least 10 chunks, touching 10 or 11.
  EXPECT_GE(summary.longestSpan, 10u);
  EXPECT_LE(summary.longestSpan, 11u);
  EXPECT_GE(summary.spanningEntries, 1u);
  EXPECT_EQ(summaryLine(summary),
            summaryLine(summarizePayload(openPayload(scratch / "out").catalog(), 1024,
                                         summary.chunks, summary.streamBytes)));
}

TEST_F(PayloadBuild, Rebuild_ReplacesALargerPayloadWhole) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 256, report));
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 65536, report));
  EXPECT_EQ(directoryContents(scratch / "out").size(), 3u);  // catalog, script, one chunk
  VerifyReport verified = verifyPayload(openPayload(scratch / "out"), scratch / "tree");
  EXPECT_TRUE(verified.problems.empty()) << verified.problems.front();
}

TEST_F(PayloadBuild, EmptyTree_WarnsAndWritesAnEmptyCatalog) {
  fs::remove_all(scratch / "tree");
  fs::create_directories(scratch / "tree/ks");
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  EXPECT_EQ(report.warnings.size(), 1u);
  EXPECT_EQ(report.summary.entries, 0u);
  auto contents = directoryContents(scratch / "out");
  EXPECT_EQ(contents.size(), 2u);
  EXPECT_EQ(contents["catalog.bin"], std::string("\x00\x04\x00\x00\x00\x00\x00\x00", 8));
}

TEST_F(PayloadBuild, Refuses_PathsThatCollideOnceLowerCased) {
  scratch.writeFile("tree/ks/README.TXT", "other");
  EXPECT_TRUE(mentions(expectRefused(), "same archive path \\ks\\readme.txt"));
}

TEST_F(PayloadBuild, Refuses_BackslashInAName) {
  scratch.writeFile("tree/ks/odd\\name.txt", "x");
  EXPECT_TRUE(mentions(expectRefused(), "odd\\name.txt"));
}

TEST_F(PayloadBuild, Refuses_NamesWindowsReservesOrDrops) {
  for (const char* name : {"tree/fs/modules/nul", "tree/ks/Con.txt", "tree/ks/com1", "tree/ks/docs./a.txt"}) {
    const std::string file = scratch.writeFile(name, "x");
    EXPECT_TRUE(mentions(expectRefused(), "Windows")) << name;
    fs::remove(file);
  }
}

// Named in UTF-8 on this machine, the same bytes would be other characters under
// each ANSI code page of Windows.
TEST_F(PayloadBuild, Refuses_NamesBeyondAscii) {
  scratch.writeFile("tree/ks/docs/caf\xC3\xA9.txt", "x");
  EXPECT_TRUE(mentions(expectRefused(), "ks/docs/caf\xC3\xA9.txt: name holds a character beyond ASCII"));
}

TEST_F(PayloadBuild, Refuses_SymbolicLinks) {
  fs::create_symlink(scratch / "tree/ks/ReadMe.txt", scratch / "tree/ks/link.txt");
  EXPECT_TRUE(mentions(expectRefused(), "symbolic link"));
}

TEST_F(PayloadBuild, Refuses_FileAtTheTopOfTheTree) {
  scratch.writeFile("tree/stray.txt", "x");
  EXPECT_TRUE(mentions(expectRefused(), "stray.txt"));
}

TEST_F(PayloadBuild, Refuses_MissingTree) {
  fs::remove_all(scratch / "tree");
  EXPECT_TRUE(mentions(expectRefused(), "not a directory"));
}

TEST_F(PayloadBuild, Refuses_MoreChunksThanIdsWithoutWritingAny) {
  scratch.writeFile("tree/fs/modules/noise.bin", randomBytes(70000, 3));
  EXPECT_TRUE(mentions(expectRefused(1), "chunks"));
}

TEST_F(PayloadBuild, Refused_KeepsThePreviousPayload) {
  BuildReport report;
  ASSERT_TRUE(buildPayload(scratch / "tree", scratch / "out", 1024, report));
  scratch.writeFile("tree/ks/readme.txt", "collides with ReadMe.txt");
  expectRefused();
}

TEST_F(PayloadBuild, Refuses_OutputDirectoryHoldingOtherFiles) {
  scratch.writeFile("out/notes.txt", "mine");
  EXPECT_TRUE(mentions(expectRefused(), "notes.txt"));
}
