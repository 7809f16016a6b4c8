#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "catalog.h"
#include "chunk_walk.h"

namespace PayloadTool {

// A payload directory as any writer may have left it: catalog.bin read with
// the installer's own reader, and whatever chunk files are there.
class PayloadReader {
 public:
  // False, with `error` set, when catalog.bin cannot be read or parsed.
  bool open(const std::string& directory, std::string& error);

  const Escort::CatalogHeader& header() const { return header_; }
  const std::vector<Escort::CatalogRecord>& records() const { return records_; }
  // What the installer's lookups see: the first record of a path, cut at a NUL.
  const Escort::Catalog& catalog() const { return catalog_; }
  uint64_t bytesAfterLastRecord() const { return bytesAfterLastRecord_; }
  // For record i, the index of the first record with the same key: i itself
  // unless the record repeats an earlier one, which lookups then find instead.
  size_t firstRecordWithKeyOf(size_t i) const { return firstRecordWithKey_[i]; }

  // Size of each chunk file found, by chunk id; ids may be missing.
  const std::map<uint32_t, uint64_t>& chunkFileSizes() const { return chunkFileSizes_; }
  uint32_t highestChunkId() const;
  uint64_t streamBytes() const;  // all chunk files together

  // Reads one piece of an entry's data; false when its chunk file is missing or short.
  bool readPiece(const Escort::ChunkPiece& piece, std::string& bytes) const;

 private:
  std::string directory_;
  Escort::CatalogHeader header_;
  std::vector<Escort::CatalogRecord> records_;
  Escort::Catalog catalog_;
  uint64_t bytesAfterLastRecord_ = 0;
  std::vector<size_t> firstRecordWithKey_;
  std::map<uint32_t, uint64_t> chunkFileSizes_;
};

}  // namespace PayloadTool
