#pragma once
#include <cstdint>

#include "catalog.h"

namespace PayloadTool {

constexpr uint32_t kDefaultChunkSize = 65536;
// Chunk ids are 16-bit resource ids and id 0 is the catalog.
constexpr uint64_t kMaxChunkCount = 0xFFFF;
// Sizes and offsets in a catalog record are 32-bit.
constexpr uint64_t kMaxEntryBytes = 0xFFFFFFFF;

// How many chunks of `chunkSize` bytes hold a stream of `streamBytes` bytes.
uint64_t chunkCountFor(uint64_t streamBytes, uint32_t chunkSize);

// Position of an entry's first byte in the payload stream: (chunkId - 1) * S + chunkOffset.
uint64_t streamOffsetOf(const Escort::CatalogEntry& entry, uint32_t chunkSize);

// The record fields for data starting at stream offset `streamOffset`. The
// caller keeps the offset below kMaxChunkCount * chunkSize.
Escort::CatalogEntry entryAt(uint64_t streamOffset, uint32_t chunkSize, uint32_t compressedSize,
                             uint32_t uncompressedSize);

// How many chunks an entry's data touches; 0 for a record that names no chunk data.
uint32_t chunkSpanOf(const Escort::CatalogEntry& entry, uint32_t chunkSize);

}  // namespace PayloadTool
