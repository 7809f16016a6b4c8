#include "catalog.h"

#include <gtest/gtest.h>

#include "archive_path.h"
#include "catalog_writer.h"

using namespace Escort;

namespace {

struct RecordBytes {
  uint16_t chunkId;
  uint16_t reserved;
  uint32_t chunkOffset;
  uint32_t compressedSize;
  uint32_t uncompressedSize;
  std::string path;
};

std::vector<unsigned char> catalogBytes(uint32_t chunkSize, const std::vector<RecordBytes>& records) {
  std::vector<CatalogRecord> converted;
  for (const RecordBytes& r : records) {
    CatalogRecord record;
    record.path = r.path;
    record.reserved = r.reserved;
    record.entry = {r.chunkId, r.chunkOffset, r.compressedSize, r.uncompressedSize};
    converted.push_back(record);
  }
  std::string bytes = PayloadTool::serializeCatalog(chunkSize, converted);
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

Catalog read(const std::vector<unsigned char>& bytes, CatalogReadResult expected = CatalogReadResult::Ok) {
  CatalogHeader header;
  Catalog catalog;
  EXPECT_EQ(readCatalog(bytes.data(), bytes.size(), header, catalog), expected);
  return catalog;
}

std::vector<std::string> treeKeys(const Catalog& catalog, const std::string& prefix) {
  std::vector<std::string> keys;
  forEachInTree(catalog, normalizeArchivePath(prefix), [&](const std::string& key, const CatalogEntry&) {
    keys.push_back(key);
    return true;
  });
  return keys;
}

const std::string kAircraftCfg = "\\fs\\aircraft\\kestrel\\aircraft.cfg";

}  // namespace

TEST(ReadCatalog, DecodesTheWorkedExampleRecord) {
  std::vector<unsigned char> bytes = {0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00,
                                      0x59, 0x00, 0x91, 0x7C, 0x39, 0x9F, 0x00, 0x00,
                                      0x67, 0x02, 0x00, 0x00, 0x31, 0x07, 0x00, 0x00,
                                      0x21, 0x00, 0x00, 0x00};
  bytes.insert(bytes.end(), kAircraftCfg.begin(), kAircraftCfg.end());
  ASSERT_EQ(kAircraftCfg.size(), 33u);

  CatalogHeader header;
  Catalog catalog;
  ASSERT_EQ(readCatalog(bytes.data(), bytes.size(), header, catalog), CatalogReadResult::Ok);
  EXPECT_EQ(header.chunkSize, 65536u);
  ASSERT_EQ(catalog.size(), 1u);
  const CatalogEntry& entry = catalog.at(kAircraftCfg);
  EXPECT_EQ(entry.chunkId, 89);  // the reserved 7C91 after it has no effect
  EXPECT_EQ(entry.chunkOffset, 40761u);
  EXPECT_EQ(entry.compressedSize, 615u);
  EXPECT_EQ(entry.uncompressedSize, 1841u);
}

TEST(ReadCatalog, EmptyCatalogOpensWithNoEntries) {
  Catalog catalog = read(catalogBytes(65536, {}));
  EXPECT_TRUE(catalog.empty());
  EXPECT_TRUE(treeKeys(catalog, "/fs/").empty());
}

TEST(ReadCatalog, IgnoresTrailingBytesAndReservedValues) {
  auto bytes = catalogBytes(65536, {{1, 0xFFFF, 0, 10, 20, "\\ks\\a.txt"}});
  Catalog plain = read(bytes);
  bytes.insert(bytes.end(), 5276, 0xAB);
  Catalog trailing = read(bytes);
  ASSERT_EQ(trailing.size(), 1u);
  EXPECT_EQ(trailing.at("\\ks\\a.txt").compressedSize, plain.at("\\ks\\a.txt").compressedSize);
}

TEST(ReadCatalog, DuplicatePathKeepsTheFirstRecord) {
  Catalog catalog = read(catalogBytes(65536, {{1, 0, 0, 10, 20, "\\ks\\a.txt"},
                                              {2, 0, 5, 11, 21, "\\ks\\a.txt"}}));
  ASSERT_EQ(catalog.size(), 1u);
  EXPECT_EQ(catalog.at("\\ks\\a.txt").chunkId, 1);
}

TEST(ReadCatalog, ExistingEntriesKeepTheirPlaceWhenReadAgain) {
  CatalogHeader header;
  Catalog catalog;
  auto first = catalogBytes(65536, {{1, 0, 0, 10, 20, "\\ks\\a.txt"}});
  auto second = catalogBytes(65536, {{3, 0, 0, 10, 20, "\\ks\\a.txt"}, {3, 0, 0, 1, 1, "\\ks\\b.txt"}});
  ASSERT_EQ(readCatalog(first.data(), first.size(), header, catalog), CatalogReadResult::Ok);
  ASSERT_EQ(readCatalog(second.data(), second.size(), header, catalog), CatalogReadResult::Ok);
  EXPECT_EQ(catalog.at("\\ks\\a.txt").chunkId, 1);
  EXPECT_EQ(catalog.size(), 2u);
}

TEST(ReadCatalog, PathIsCutAtItsFirstNul) {
  Catalog catalog = read(catalogBytes(65536, {{1, 0, 0, 1, 1, std::string("\\ks\\a\0junk", 10)}}));
  EXPECT_EQ(catalog.count("\\ks\\a"), 1u);
}

TEST(ReadCatalog, StoredCapitalsAreNeverFound) {
  Catalog catalog = read(catalogBytes(65536, {{1, 0, 0, 1, 1, "\\ks\\ReadMe.txt"}}));
  EXPECT_EQ(catalog.count(normalizeArchivePath("\\ks\\ReadMe.txt")), 0u);
  EXPECT_EQ(catalog.count(normalizeArchivePath("/ks/readme.txt")), 0u);
}

TEST(ReadCatalog, RefusesDamagedCatalogsWholeAndLeavesOutputsAlone) {
  auto good = catalogBytes(65536, {{1, 0, 0, 1, 1, "\\ks\\a.txt"}, {1, 0, 1, 1, 1, "\\ks\\b.txt"}});
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    CatalogReadResult expected;
  };
  auto lyingCount = good;
  lyingCount[4] = 3;  // three records announced, two present
  auto longPath = good;
  longPath[8 + 16] = 0xFF;  // pathLength of the first record runs past the end
  auto cutRecord = good;
  cutRecord.resize(cutRecord.size() - 12);
  std::vector<Case> cases = {
      {"header cut short", {0x00, 0x00, 0x01, 0x00, 0x01}, CatalogReadResult::TooShortForHeader},
      {"chunk size 0", catalogBytes(0, {{1, 0, 0, 1, 1, "\\ks\\a"}}), CatalogReadResult::ZeroChunkSize},
      {"entry count beyond the records", lyingCount, CatalogReadResult::RecordOutOfBounds},
      {"path length beyond the resource", longPath, CatalogReadResult::RecordOutOfBounds},
      {"last record cut", cutRecord, CatalogReadResult::RecordOutOfBounds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CatalogHeader header{123, 456};
    Catalog catalog{{"\\kept", CatalogEntry{}}};
    EXPECT_EQ(readCatalog(c.bytes.data(), c.bytes.size(), header, catalog), c.expected);
    EXPECT_EQ(header.chunkSize, 123u);
    ASSERT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog.begin()->first, "\\kept");
  }
}

// A tree is a folder: whole names match, so "kestrel" holds nothing of
// "kestrel_hd" (installed otherwise as "kestrel\_hd\..."), and a file or a
// name cut short selects nothing.
TEST(CatalogTree, SelectsWholeFoldersInKeyOrder) {
  Catalog catalog = read(catalogBytes(65536, {{1, 0, 0, 1, 1, "\\fs\\aircraft\\marlin\\m.cfg"},
                                              {1, 0, 0, 1, 1, kAircraftCfg},
                                              {1, 0, 0, 1, 1, "\\fs\\aircraft\\kestrel_hd\\model.mdl"},
                                              {1, 0, 0, 1, 1, "\\fs\\modules\\fsuipc.dll"},
                                              {1, 0, 0, 1, 1, "\\ks\\readme.txt"}}));
  EXPECT_EQ(treeKeys(catalog, "/fs/aircraft/"),
            (std::vector<std::string>{kAircraftCfg, "\\fs\\aircraft\\kestrel_hd\\model.mdl",
                                      "\\fs\\aircraft\\marlin\\m.cfg"}));
  EXPECT_EQ(treeKeys(catalog, "/fs/aircraft/kestrel"), (std::vector<std::string>{kAircraftCfg}));
  EXPECT_EQ(treeKeys(catalog, "/fs/aircraft/kestrel_hd"),
            (std::vector<std::string>{"\\fs\\aircraft\\kestrel_hd\\model.mdl"}));
  for (const char* nothing : {"\\fs\\air", "/FS/MODULES/FSUIPC.DLL/", "/nothing"})
    EXPECT_TRUE(treeKeys(catalog, nothing).empty()) << nothing;
}

TEST(CatalogTree, KeysOrderAsUnsignedBytes) {
  Catalog catalog = read(catalogBytes(65536, {{1, 0, 0, 1, 1, "\\ks\\\xE9"},
                                              {1, 0, 0, 1, 1, "\\ks\\z"},
                                              {1, 0, 0, 1, 1, "\\ks"}}));
  EXPECT_EQ(treeKeys(catalog, "/ks"), (std::vector<std::string>{"\\ks\\z", "\\ks\\\xE9"}));
}
