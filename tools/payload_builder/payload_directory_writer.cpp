#include "payload_directory_writer.h"

#include "catalog_writer.h"
#include "chunk_files.h"
#include "payload_files.h"
#include "payload_layout.h"
#include "resource_script.h"

namespace PayloadTool {

bool writePayloadFiles(const std::string& directory, uint32_t chunkSize,
                       const std::vector<Escort::CatalogRecord>& records,
                       const std::string& catalogTrailer, std::istream& stream,
                       uint64_t streamBytes, std::string& error) {
  uint64_t chunkCount = chunkCountFor(streamBytes, chunkSize);
  if (chunkCount > kMaxChunkCount) {
    error = "the payload stream of " + std::to_string(streamBytes) + " bytes needs " +
            std::to_string(chunkCount) + " chunks of " + std::to_string(chunkSize) +
            " bytes; chunk ids stop at " + std::to_string(kMaxChunkCount);
    return false;
  }
  if (!writeChunkFiles(stream, streamBytes, chunkSize, directory) ||
      !writeFileBytes(directory + "/" + kCatalogFileName,
                      serializeCatalog(chunkSize, records, catalogTrailer)) ||
      !writeFileBytes(directory + "/" + kResourceScriptFileName,
                      resourceScriptFor(static_cast<uint32_t>(chunkCount)))) {
    error = directory + ": cannot write the payload files";
    return false;
  }
  return true;
}

}  // namespace PayloadTool
