#include "payload_writer.h"

#include <sstream>

#include "payload_directory_writer.h"
#include "staged_output_dir.h"

namespace PayloadTool {
namespace {

std::string placementProblem(const PayloadLayoutEntry& entry, uint64_t offset, uint32_t chunkSize) {
  if (entry.stream.size() > kMaxEntryBytes) return entry.path + ": stream too long for a record";
  if (offset + entry.stream.size() > kMaxChunkCount * chunkSize)
    return entry.path + ": data ends beyond the last chunk a 16-bit id can name";
  return "";
}

}  // namespace

bool writePayload(const PayloadLayout& layout, const std::string& outDir, std::string& error) {
  if (layout.chunkSize == 0) {
    error = "chunk size 0";
    return false;
  }
  error = StagedOutputDir::targetProblem(outDir);
  if (!error.empty()) return false;

  std::string stream;
  std::vector<Escort::CatalogRecord> records;
  for (const PayloadLayoutEntry& entry : layout.entries) {
    uint64_t offset = entry.streamOffset.value_or(stream.size());
    error = placementProblem(entry, offset, layout.chunkSize);
    if (!error.empty()) return false;
    if (stream.size() < offset + entry.stream.size())
      stream.resize(offset + entry.stream.size(), '\0');
    stream.replace(offset, entry.stream.size(), entry.stream);

    Escort::CatalogRecord record;
    record.path = entry.path;
    record.reserved = entry.reserved;
    record.entry = entryAt(offset, layout.chunkSize, static_cast<uint32_t>(entry.stream.size()),
                           entry.uncompressedSize);
    records.push_back(record);
  }

  StagedOutputDir staged(outDir);
  std::istringstream streamIn(stream);
  return staged.create(error) &&
         writePayloadFiles(staged.path(), layout.chunkSize, records, layout.catalogTrailer,
                           streamIn, stream.size(), error) &&
         staged.commit(error);
}

}  // namespace PayloadTool
