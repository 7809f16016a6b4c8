#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "catalog.h"

namespace PayloadTool {

// Writes catalog.bin, the chunk files cut from the next `streamBytes` bytes of
// `stream`, and payload.rc into `directory`. Refuses, before writing a chunk,
// a stream that needs more chunks than a 16-bit id can number.
bool writePayloadFiles(const std::string& directory, uint32_t chunkSize,
                       const std::vector<Escort::CatalogRecord>& records,
                       const std::string& catalogTrailer, std::istream& stream,
                       uint64_t streamBytes, std::string& error);

}  // namespace PayloadTool
