#include "file_extractor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "extract_result.h"
#include "recording_log.h"
#include "recording_status.h"
#include "scratch_directory.h"
#include "tree_walk.h"

using namespace Escort;

namespace {

// The test payloads are built from trees in the build directory into small DLLs
// whose RCDATA resources hold them (see CMakeLists.txt beside this file).
HMODULE payloadModule(const char* name) {
  HMODULE module = LoadLibraryA(name);
  EXPECT_NE(module, nullptr) << name;
  return module;
}

std::string sourceFile(const std::string& relative) {
  std::string path = hostPath(TEST_PAYLOAD_TREE "/" + relative);
  return path;
}

class Extractor : public ::testing::Test {
 protected:
  void openPayload(const char* module) {
    extractor->closeCatalog();
    ASSERT_TRUE(extractor->open(payloadModule(module), &status));
  }
  void SetUp() override { openPayload("payload_basic.dll"); }
  void TearDown() override { extractor->closeCatalog(); }

  FileExtractor* extractor = getFileExtractor();
  RecordingStatus status;
  ScratchDirectory scratch{"extract"};
};

TEST_F(Extractor, FactoryReturnsOneProcessWideInstance) {
  EXPECT_EQ(getFileExtractor(), getFileExtractor());
}

TEST_F(Extractor, FailedOpenKeepsTheCatalogModuleAndStatusThatWereOpen) {
  // A module without a catalog, and one whose catalog runs past its resource.
  for (HMODULE refused : {GetModuleHandleA(nullptr), payloadModule("payload_bad_catalog.dll")}) {
    RecordingStatus otherStatus;
    EXPECT_FALSE(extractor->open(refused, &otherStatus));
    const std::string destination = scratch / "big.bin";
    ASSERT_EQ(extractor->extractFile("/ks/big.bin", destination.c_str(), false), kExtractOk)
        << "the entries still read their data from the module they came from";
    EXPECT_TRUE(readFileBytes(destination) == readFileBytes(sourceFile("ks/big.bin")));
    EXPECT_EQ(otherStatus.calls.size(), 0u);
    EXPECT_EQ(status.sequence().back(), 'F');
  }
}

TEST_F(Extractor, DamagedCatalogIsRefused) {
  extractor->closeCatalog();
  EXPECT_FALSE(extractor->open(payloadModule("payload_bad_catalog.dll"), &status));
  uint32_t compressed = 7, uncompressed = 7;
  EXPECT_EQ(extractor->treeSize("/", &compressed, &uncompressed), kTreeEmpty);
}

TEST_F(Extractor, EmptyCatalogFindsNothing) {
  openPayload("payload_empty.dll");
  uint32_t compressed = 7, uncompressed = 7;
  EXPECT_EQ(extractor->entrySize("/ks/readme.txt", &compressed, &uncompressed), kEntryMissing);
  EXPECT_EQ(extractor->treeSize("/ks", &compressed, &uncompressed), kTreeEmpty);
  EXPECT_EQ(compressed, 7u);
  EXPECT_EQ(uncompressed, 7u);
}

TEST_F(Extractor, ExtractsFileAndReportsItInOrder) {
  // The first entry in the stream starts at offset 0 of chunk 1 and is smaller than a
  // chunk, so it lies in one chunk whatever the sizes of the architecture's DLLs after it.
  const char* archivePath = "/FS/Aircraft/Kestrel/A1/Aircraft.CFG";
  std::string destination = scratch / "aircraft.cfg";
  ASSERT_EQ(extractor->extractFile(archivePath, destination.c_str(), false), kExtractOk);
  EXPECT_TRUE(readFileBytes(destination) == readFileBytes(sourceFile("fs/aircraft/kestrel/a1/aircraft.cfg")));

  ASSERT_GE(status.calls.size(), 3u);
  EXPECT_EQ(status.calls.front().archivePath, archivePath);  // as the caller wrote it
  EXPECT_EQ(status.calls.front().destination, destination);
  std::string sequence = status.sequence();
  EXPECT_EQ(sequence.front(), 'S');
  EXPECT_EQ(sequence.back(), 'F');
  EXPECT_EQ(sequence.find_first_not_of('P', 1), sequence.size() - 1);

  uint32_t compressed = 0, uncompressed = 0;
  ASSERT_EQ(extractor->entrySize(archivePath, &compressed, &uncompressed), kExtractOk);
  const StatusCall& first = status.calls[1];
  const StatusCall& last = status.calls[status.calls.size() - 2];
  EXPECT_EQ(first.fed, compressed) << "a single-chunk entry is fed whole from the first call";
  EXPECT_EQ(first.compressedSize, compressed);
  EXPECT_EQ(last.inflated, uncompressed);
  EXPECT_EQ(last.uncompressedSize, uncompressed);
}

TEST_F(Extractor, MissingEntryIsAnnouncedButCreatesNothing) {
  std::string destination = scratch / "new\\deeper\\nothing.txt";
  EXPECT_EQ(extractor->extractFile("/ks/nothing.txt", destination.c_str(), false), kEntryMissing);
  EXPECT_EQ(status.sequence(), "S");
  EXPECT_FALSE(directoryExists(scratch / "new"));
}

TEST_F(Extractor, EntrySpanningFourChunksIsWrittenWhole) {
  uint32_t compressed = 0, uncompressed = 0;
  ASSERT_EQ(extractor->entrySize("/ks/big.bin", &compressed, &uncompressed), kExtractOk);
  std::string destination = scratch / "big.bin";
  ASSERT_EQ(extractor->extractFile("/ks/big.bin", destination.c_str(), false), kExtractOk);
  EXPECT_TRUE(readFileBytes(destination) == readFileBytes(sourceFile("ks/big.bin")));

  // One piece per chunk at least; the first argument grows piece by piece.
  std::vector<uint32_t> fed;
  for (const StatusCall& call : status.calls)
    if (call.kind == StatusCall::Progress && (fed.empty() || fed.back() != call.fed)) fed.push_back(call.fed);
  EXPECT_EQ(fed.size(), 4u);
  EXPECT_EQ(fed.back(), compressed);
}

TEST_F(Extractor, EmptyFileIsCreatedEmpty) {
  std::string destination = scratch / "empty.txt";
  writeFileBytes(destination, "old content");
  ASSERT_EQ(extractor->extractFile("/ks/empty.txt", destination.c_str(), false), kExtractOk);
  EXPECT_TRUE(fileExists(destination));
  EXPECT_EQ(readFileBytes(destination), "");
}

TEST_F(Extractor, EntryEndingAtChunkEndNeedsNoFurtherChunk) {
  openPayload("payload_boundary.dll");
  std::string destination = scratch / "edge.bin";
  ASSERT_EQ(extractor->extractFile("/ks/edge.bin", destination.c_str(), false), kExtractOk);
  EXPECT_TRUE(readFileBytes(destination) == readFileBytes(sourceFile("ks/big.bin")));
}

TEST_F(Extractor, CreatesThreeMissingDirectoryLevels) {
  std::string destination = scratch / "one\\two\\three\\readme.txt";
  ASSERT_EQ(extractor->extractFile("/ks/readme.txt", destination.c_str(), false), kExtractOk);
  EXPECT_TRUE(fileExists(destination));
  // The probe file that tests each directory is gone again.
  EXPECT_EQ(directoryListing(scratch / "one\\two\\three"), std::vector<std::string>{"readme.txt"});
}

// Windows' ANSI limits, which the extractor applies itself because Wine goes
// beyond them: a temporary name needs a directory of at most 246 characters,
// CreateDirectoryA takes at most 248 and a file path at most 259.
struct DirectoryLengthCase {
  size_t length;          // of the destination directory
  int plain;              // extracting into it while it does not exist yet
  int versionAwareAfter;  // then version-aware into the same place
  bool made;              // the directory exists afterwards
};

class DirectoryLength : public Extractor, public ::testing::WithParamInterface<DirectoryLengthCase> {};

TEST_P(DirectoryLength, GivesTheCodeWindowsWouldGive) {
  const DirectoryLengthCase& c = GetParam();
  std::string directory = scratch.path() + "\\l";
  directory += std::string(c.length - directory.size(), 'd');
  const std::string destination = directory + "\\readme.txt";
  const std::string payloadCopy = readFileBytes(sourceFile("ks/readme.txt"));

  EXPECT_EQ(extractor->extractFile("/ks/readme.txt", destination.c_str(), false), c.plain);
  if (c.plain == kExtractOk) {
    EXPECT_TRUE(readFileBytes(destination) == payloadCopy);
  }
  EXPECT_EQ(extractor->extractFile("/ks/readme.txt", destination.c_str(), true), c.versionAwareAfter);
  // An existing directory that takes no new file is not ready, and nothing new is made in or beside it.
  const std::vector<std::string> created =
      c.made ? std::vector<std::string>{directory.substr(scratch.path().size() + 1)} : std::vector<std::string>{};
  EXPECT_EQ(directoryListing(scratch.path()), created);
  if (c.made) {
    EXPECT_EQ(directoryListing(directory),
              c.plain == kExtractOk ? std::vector<std::string>{"readme.txt"} : std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(AroundMaxPath, DirectoryLength,
                         // A new file is written under its own name; the shared module
                         // over an earlier copy under a temporary name first, which needs
                         // the room of one: in 247 and 248 the version-aware one fails.
                         // Past 248 the file's own path is too long before any folder.
                         ::testing::Values(DirectoryLengthCase{236, kExtractOk, kExtractOk, true},
                                           DirectoryLengthCase{246, kExtractOk, kExtractOk, true},
                                           DirectoryLengthCase{247, kExtractOk, kDirectoryNotReady, true},
                                           DirectoryLengthCase{248, kExtractOk, kDirectoryNotReady, true},
                                           DirectoryLengthCase{249, kOutputFileFailed, kOutputFileFailed, false},
                                           DirectoryLengthCase{260, kOutputFileFailed, kOutputFileFailed, false},
                                           DirectoryLengthCase{280, kOutputFileFailed, kOutputFileFailed, false}));

TEST_F(Extractor, FilePathTooLongForWindowsFailsWithThreeInAReadyDirectory) {
  const std::string directory = scratch / "ready";
  const std::string destination = directory + "\\" + std::string(MAX_PATH - directory.size(), 'n');
  for (bool versionAware : {false, true}) {
    SCOPED_TRACE(versionAware);
    EXPECT_EQ(extractor->extractFile("/ks/readme.txt", destination.c_str(), versionAware), kOutputFileFailed);
    EXPECT_EQ(directoryListing(directory), std::vector<std::string>{}) << "the directory is made, no file in it";
  }
}

TEST_F(Extractor, DirectoryThatIsAFileFailsWithNothingCreated) {
  writeFileBytes(scratch / "blocker", "a file, not a directory");
  std::string destination = scratch / "blocker\\sub\\readme.txt";
  EXPECT_EQ(extractor->extractFile("/ks/readme.txt", destination.c_str(), false), kDirectoryNotReady);
  EXPECT_EQ(directoryListing(scratch.path()), std::vector<std::string>{"blocker"});
  EXPECT_EQ(readFileBytes(scratch / "blocker"), "a file, not a directory");
  EXPECT_EQ(status.sequence(), "S");
}

TEST_F(Extractor, DestinationThatCannotBeReplacedFailsWithThreeAndLeavesNothing) {
  CreateDirectoryA((scratch / "readme.txt").c_str(), nullptr);
  EXPECT_EQ(extractor->extractFile("/ks/readme.txt", (scratch / "readme.txt").c_str(), false),
            kOutputFileFailed);
  EXPECT_EQ(status.sequence().find('F'), std::string::npos) << "a failed file is never finished";
  EXPECT_EQ(directoryListing(scratch.path()), std::vector<std::string>{"readme.txt"});
  EXPECT_TRUE(directoryExists(scratch / "readme.txt"));
}

struct DamagedCase {
  const char* archivePath;
  int expected;
  const char* what;
};

class DamagedEntry : public Extractor, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedEntry, FailsWithItsCodeAndLeavesNoTemporaryFile) {
  openPayload("payload_damaged.dll");
  const DamagedCase& c = GetParam();
  for (bool versionAware : {false, true}) {
    SCOPED_TRACE(versionAware ? "version-aware" : "plain");
    ScratchDirectory target("damaged");
    std::string destination = target / "out.bin";
    EXPECT_EQ(extractor->extractFile(c.archivePath, destination.c_str(), versionAware), c.expected)
        << c.what;
    EXPECT_EQ(status.sequence().find('F'), std::string::npos) << "a failed file is never finished";
    EXPECT_TRUE(directoryListing(target.path()).empty()) << "not even a part of it";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DamagedEntry,
    ::testing::Values(DamagedCase{"/ks/corrupt.bin", kInflateFailed, "deflate data broken"},
                      DamagedCase{"/ks/truncated.bin", kInflateFailed, "size ends before the stream"},
                      DamagedCase{"/ks/overlong.bin", kInflateFailed, "bytes after the stream"},
                      DamagedCase{"/ks/missing_chunk.bin", kChunkMissing, "names a chunk not there"},
                      DamagedCase{"/ks/chunk_zero.bin", kChunkMissing, "chunk 0 is the catalog"},
                      DamagedCase{"/ks/bad_offset.bin", kChunkMissing, "offset past the chunk size"},
                      DamagedCase{"/ks/past_last_chunk.bin", kChunkMissing,
                                  "runs past the end of the last chunk"}));

TEST_F(Extractor, EntryStoredWithNoBytesIsAnEmptyFile) {
  openPayload("payload_damaged.dll");
  std::string destination = scratch / "zero.bin";
  ASSERT_EQ(extractor->extractFile("/ks/zero.bin", destination.c_str(), false), kExtractOk);
  EXPECT_EQ(readFileBytes(destination), "");
  EXPECT_EQ(status.sequence(), "SF");
}

// The sums a tree's own files give: their sizes, and their streams as the payload
// builder makes them (zlib at level 9).
void sumTreeFiles(const std::string& directory, uint32_t& compressed, uint32_t& uncompressed) {
  for (const std::string& file : filesBelow(directory)) {
    const std::string bytes = readFileBytes(withBackslash(directory) + file);
    std::vector<Bytef> stream(compressBound(static_cast<uLong>(bytes.size())));
    uLongf streamSize = static_cast<uLongf>(stream.size());
    ASSERT_EQ(compress2(stream.data(), &streamSize, reinterpret_cast<const Bytef*>(bytes.data()),
                        static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION), Z_OK);
    compressed += static_cast<uint32_t>(streamSize);
    uncompressed += static_cast<uint32_t>(bytes.size());
  }
}

TEST_F(Extractor, TreeSizeSumsEveryFileUnderThePrefix) {
  uint32_t expectedCompressed = 0, expectedUncompressed = 0;
  sumTreeFiles(sourceFile("fs/aircraft"), expectedCompressed, expectedUncompressed);
  ASSERT_GT(expectedUncompressed, 0u);
  uint32_t compressed = 0, uncompressed = 0;
  ASSERT_EQ(extractor->treeSize("/fs/aircraft/", &compressed, &uncompressed), kExtractOk);
  EXPECT_EQ(compressed, expectedCompressed);
  EXPECT_EQ(uncompressed, expectedUncompressed);

  uint32_t untouched = 99;
  EXPECT_EQ(extractor->treeSize("/fs/nothing", &untouched, &untouched), kTreeEmpty);
  EXPECT_EQ(untouched, 99u);
}

TEST_F(Extractor, TreeExtractionLogsEveryFileInKeyOrder) {
  RecordingLog log;
  ASSERT_EQ(extractor->extractTree("/fs/aircraft/kestrel", scratch.path().c_str(), &log, "Deleting"),
            kExtractOk);
  std::vector<UninstallEvent> expected;
  for (const char* file : {"a1\\aircraft.cfg", "a1\\model.mdl", "a2\\aircraft.cfg", "a2\\model.mdl",
                           "a3\\aircraft.cfg"}) {
    expected.push_back({"DeleteFile", scratch / file, "Deleting"});
    EXPECT_EQ(readFileBytes(scratch / file),
              readFileBytes(sourceFile(std::string("fs/aircraft/kestrel/") + file)));
  }
  EXPECT_EQ(log.events, expected);
  EXPECT_FALSE(directoryExists(scratch / "m1")) << "the marlin set is another tree";

  // A trailing backslash on the destination changes nothing.
  RecordingLog again;
  ASSERT_EQ(extractor->extractTree("/fs/aircraft/kestrel/", (scratch.path() + "\\").c_str(), &again,
                                   "Deleting"),
            kExtractOk);
  EXPECT_EQ(again.events, expected);
}

TEST_F(Extractor, TreeStopsAtTheFirstFailingFile) {
  RecordingLog log;
  // The fourth file in key order cannot be written: a directory stands in its place.
  CreateDirectoryA((scratch / "a2").c_str(), nullptr);
  CreateDirectoryA((scratch / "a2\\model.mdl").c_str(), nullptr);
  EXPECT_EQ(extractor->extractTree("/fs/aircraft/kestrel", scratch.path().c_str(), &log, "Deleting"),
            kOutputFileFailed);
  EXPECT_EQ(log.events.size(), 3u);
  std::string sequence = status.sequence();
  EXPECT_EQ(std::count(sequence.begin(), sequence.end(), 'F'), 3);
  EXPECT_FALSE(fileExists(scratch / "a3\\aircraft.cfg"));
}

TEST_F(Extractor, EmptyTreeAddsNoEvent) {
  RecordingLog log;
  EXPECT_EQ(extractor->extractTree("/fs/aircraft/nothing", scratch.path().c_str(), &log, "x"), kTreeEmpty);
  EXPECT_TRUE(log.events.empty());
}

}  // namespace
