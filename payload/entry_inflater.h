#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "catalog.h"
#include "file_extractor_status.h"
#include "output_file.h"
#include "payload_resource.h"

struct z_stream_s;  // zlib's, kept out of the extractor's own header

namespace Escort {

// Inflates catalog entries from the chunk resources of one module. What every
// entry needs is made once and kept from one to the next: the chunks found so
// far, the buffers and zlib's own state (thousands of small files would
// otherwise each allocate and free them again).
class EntryInflater {
 public:
  EntryInflater();
  EntryInflater(const EntryInflater&) = delete;
  EntryInflater& operator=(const EntryInflater&) = delete;
  ~EntryInflater();

  // The module whose chunks the entries are read from from now on.
  void readFrom(HMODULE module, uint32_t chunkSize);
  // Inflates one entry into `out`, reporting progress after every inflate
  // call. Returns an extractor code: 0, or 4-9. The entry's data must be
  // exactly one complete zlib stream that inflates to its recorded size.
  int inflate(const CatalogEntry& entry, OutputFile& out, FileExtractorStatus& status);

 private:
  // Chunk `id`, found once; failures are looked up again next time.
  int chunk(uint16_t id, PayloadResource& found);
  int feedPiece(const CatalogEntry& entry, const PayloadResource& chunk, uint32_t offset, uint32_t length,
                uint32_t fedSoFar, OutputFile& out, FileExtractorStatus& status);

  HMODULE module_ = nullptr;
  uint32_t chunkSize_ = 0;
  std::vector<PayloadResource> chunks_;  // by id; no data: not found yet
  std::unique_ptr<unsigned char[]> output_;
  std::unique_ptr<z_stream_s> stream_;
  bool initialised_ = false;
  bool ended_ = false;
};

}  // namespace Escort
