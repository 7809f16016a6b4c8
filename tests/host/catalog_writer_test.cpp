#include "catalog_writer.h"

#include <gtest/gtest.h>

using namespace PayloadTool;

namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) out += static_cast<char>(value);
  return out;
}

Escort::CatalogRecord aircraftCfg() {
  Escort::CatalogRecord record;
  record.path = "\\fs\\aircraft\\kestrel\\aircraft.cfg";
  record.reserved = 0x7C91;
  record.entry = {89, 40761, 615, 1841};
  return record;
}

}  // namespace

TEST(CatalogWriter, WritesHeaderAndRecordByteForByte) {
  std::string catalog = serializeCatalog(65536, {aircraftCfg()});
  const std::string header = bytes({0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00});
  const std::string record = bytes({0x59, 0x00, 0x91, 0x7C, 0x39, 0x9F, 0x00, 0x00, 0x67, 0x02,
                                    0x00, 0x00, 0x31, 0x07, 0x00, 0x00, 0x21, 0x00, 0x00, 0x00});
  const std::string expected = header + record + "\\fs\\aircraft\\kestrel\\aircraft.cfg";
  EXPECT_EQ(catalog, expected);
}

TEST(CatalogWriter, ReaderGetsBackRecordsInOrderAndIgnoresTrailer) {
  Escort::CatalogRecord second = aircraftCfg();
  second.path = "\\ks\\a.txt";
  second.reserved = 0;
  std::string catalog = serializeCatalog(512, {aircraftCfg(), second}, "trailing junk");

  Escort::CatalogHeader header;
  std::vector<Escort::CatalogRecord> records;
  ASSERT_EQ(Escort::readCatalogRecords(reinterpret_cast<const unsigned char*>(catalog.data()),
                                       catalog.size(), header, records),
            Escort::CatalogReadResult::Ok);
  EXPECT_EQ(header.chunkSize, 512u);
  EXPECT_EQ(header.entryCount, 2u);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].path, aircraftCfg().path);
  EXPECT_EQ(records[0].reserved, 0x7C91);
  EXPECT_EQ(records[1].path, "\\ks\\a.txt");
  EXPECT_EQ(records[1].entry.chunkOffset, 40761u);
}
