#include "payload_summary.h"

#include <algorithm>

#include "payload_layout.h"

namespace PayloadTool {

PayloadSummary summarizePayload(const Escort::Catalog& catalog, uint32_t chunkSize,
                                uint64_t chunkCount, uint64_t streamBytes) {
  PayloadSummary summary;
  summary.entries = catalog.size();
  summary.chunks = chunkCount;
  summary.chunkSize = chunkSize;
  summary.streamBytes = streamBytes;
  for (const auto& [path, entry] : catalog) {
    uint32_t span = chunkSpanOf(entry, chunkSize);
    if (span > 1) ++summary.spanningEntries;
    summary.longestSpan = std::max(summary.longestSpan, span);
  }
  return summary;
}

std::string summaryLine(const PayloadSummary& summary) {
  return "payload: " + std::to_string(summary.entries) + " entries, " +
         std::to_string(summary.chunks) + " chunks (chunk size " +
         std::to_string(summary.chunkSize) + "), " + std::to_string(summary.spanningEntries) +
         " spanning more than one chunk, longest " + std::to_string(summary.longestSpan) +
         " chunks, " + std::to_string(summary.streamBytes) + " stream bytes";
}

}  // namespace PayloadTool
