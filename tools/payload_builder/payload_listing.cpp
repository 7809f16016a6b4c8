#include "payload_listing.h"

#include <cstdio>

#include "archive_name_rules.h"
#include "payload_summary.h"

namespace PayloadTool {
namespace {

std::string recordLine(const Escort::CatalogRecord& record) {
  char fields[96];
  std::snprintf(fields, sizeof fields, "%5u %10lu %10lu %12lu     %04x  ",
                static_cast<unsigned>(record.entry.chunkId),
                static_cast<unsigned long>(record.entry.chunkOffset),
                static_cast<unsigned long>(record.entry.compressedSize),
                static_cast<unsigned long>(record.entry.uncompressedSize),
                static_cast<unsigned>(record.reserved));
  return fields + shownName(record.path);
}

}  // namespace

std::string payloadSummaryLine(const PayloadReader& payload) {
  return summaryLine(summarizePayload(payload.catalog(), payload.header().chunkSize,
                                      payload.highestChunkId(), payload.streamBytes()));
}

void printListing(const PayloadReader& payload, std::ostream& out) {
  out << "catalog: chunk size " << payload.header().chunkSize << ", " << payload.header().entryCount
      << " records, " << payload.bytesAfterLastRecord() << " bytes after the last record\n";
  out << "chunk     offset compressed uncompressed reserved path\n";
  for (size_t i = 0; i < payload.records().size(); ++i) {
    out << recordLine(payload.records()[i]) << '\n';
    size_t first = payload.firstRecordWithKeyOf(i);
    if (first != i) out << "      (repeats record " << first + 1 << "; lookups find that one)\n";
    const std::string unsafe = unsafePathProblem(payload.records()[i].path);
    if (!unsafe.empty()) out << "      (unsafe to install: " << unsafe << ")\n";
  }
  out << payloadSummaryLine(payload) << '\n';
}

}  // namespace PayloadTool
