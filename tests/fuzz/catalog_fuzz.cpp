// Feeds arbitrary bytes to the catalog reader, then walks every entry it accepts,
// so that a damaged catalog can never make the reader step outside its resource.
#include <cstddef>
#include <cstdint>

#include "archive_path.h"
#include "catalog.h"
#include "chunk_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Escort::CatalogHeader header;
  Escort::Catalog catalog;
  if (Escort::readCatalog(data, size, header, catalog) != Escort::CatalogReadResult::Ok) return 0;
  for (const auto& [key, entry] : catalog) {
    Escort::normalizeArchivePath(key);
    Escort::ChunkWalk walk(entry, header.chunkSize);
    Escort::ChunkPiece piece;
    uint64_t covered = 0;
    while (walk.next(piece)) {
      if (piece.length == 0 || piece.offset + uint64_t(piece.length) > header.chunkSize) __builtin_trap();
      covered += piece.length;
    }
    if (walk.valid() && covered != entry.compressedSize) __builtin_trap();
  }
  return 0;
}
