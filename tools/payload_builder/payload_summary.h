#pragma once
#include <cstdint>
#include <string>

#include "catalog.h"

namespace PayloadTool {

struct PayloadSummary {
  uint64_t entries = 0;
  uint64_t chunks = 0;
  uint32_t chunkSize = 0;
  uint64_t spanningEntries = 0;  // entries whose data touches more than one chunk
  uint32_t longestSpan = 0;      // in chunks
  uint64_t streamBytes = 0;
};

// The catalog's entries as lookups see them (first of duplicate paths only).
PayloadSummary summarizePayload(const Escort::Catalog& catalog, uint32_t chunkSize,
                                uint64_t chunkCount, uint64_t streamBytes);

// "payload: 1319 entries, 372 chunks (chunk size 65536), 318 spanning more than
// one chunk, longest 18 chunks, 24348089 stream bytes"; scripts read this line.
std::string summaryLine(const PayloadSummary& summary);

}  // namespace PayloadTool
