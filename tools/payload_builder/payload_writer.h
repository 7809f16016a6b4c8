#pragma once
// Writes payloads laid out entry by entry, for tests that need layouts a tree
// build never makes: streams out of catalog order, gaps, records that lie.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "payload_layout.h"
#include "zlib_deflate.h"  // compressStream, to make an entry's stream

namespace PayloadTool {

struct PayloadLayoutEntry {
  std::string path;    // stored exactly as given, not normalised
  std::string stream;  // the entry's data, usually compressStream(content)
  uint32_t uncompressedSize = 0;
  // Where the data begins in the payload stream. Without one, the entry is
  // appended after everything placed before it.
  std::optional<uint64_t> streamOffset;
  uint16_t reserved = 0;
};

struct PayloadLayout {
  uint32_t chunkSize = kDefaultChunkSize;
  std::vector<PayloadLayoutEntry> entries;  // catalog records, in this order
  std::string catalogTrailer;               // bytes after the last record
};

// Places every entry's stream (gaps hold zero bytes; where entries overlap the
// later one's bytes stand), cuts the payload stream into chunks and replaces
// `outDir` with catalog.bin, chunk00001.bin, ... and payload.rc. The stream is
// built in memory. False, with `error` set and nothing written, when the
// layout cannot be written.
bool writePayload(const PayloadLayout& layout, const std::string& outDir, std::string& error);

}  // namespace PayloadTool
