#pragma once
#include <windows.h>

#include <cstdint>

#include "catalog.h"
#include "file_extractor_status.h"
#include "output_file.h"

namespace Escort {

// Inflates one catalog entry from the chunk resources of `module` into `out`,
// reporting progress after every inflate call. Returns an extractor code:
// 0, or 4-9. The entry's data must be exactly one complete zlib stream that
// inflates to the entry's recorded size.
int inflateEntry(HMODULE module, uint32_t chunkSize, const CatalogEntry& entry, OutputFile& out,
                 FileExtractorStatus& status);

}  // namespace Escort
