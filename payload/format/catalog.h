#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Escort {

// Where one payload entry's zlib stream lies in the chunk resources.
struct CatalogEntry {
  uint16_t chunkId = 0;
  uint32_t chunkOffset = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
};

// Keyed by the stored path; std::string orders byte by byte as unsigned values,
// a proper prefix first, which is the order trees are walked in.
using Catalog = std::map<std::string, CatalogEntry>;

constexpr size_t kCatalogHeaderSize = 8;
constexpr size_t kCatalogRecordFixedSize = 20;

struct CatalogHeader {
  uint32_t chunkSize = 0;
  uint32_t entryCount = 0;
};

enum class CatalogReadResult {
  Ok,
  TooShortForHeader,  // fewer than 8 bytes
  ZeroChunkSize,      // S = 0 would make every chunk walk endless
  RecordOutOfBounds,  // a record or its path runs past the end of the resource
};

// One record as it stands in the resource: the path with all its bytes (a NUL
// included) and the reserved field, which only tools that show a catalog use.
struct CatalogRecord {
  std::string path;
  uint16_t reserved = 0;
  CatalogEntry entry;
};

// Appends every record to `records` in resource order, duplicates included.
// Same results as readCatalog; on any result but Ok, `header` and `records`
// are left untouched.
CatalogReadResult readCatalogRecords(const unsigned char* data, size_t size,
                                     CatalogHeader& header, std::vector<CatalogRecord>& records);

// Reads the catalog resource of `size` bytes. Records are added to `catalog`
// in resource order; a path already present keeps its first entry. A path is
// cut at its first NUL byte. Bytes after the last record are ignored.
// On any result but Ok, `catalog` and `header` are left untouched: a damaged
// catalog is refused whole rather than half read.
CatalogReadResult readCatalog(const unsigned char* data, size_t size,
                              CatalogHeader& header, Catalog& catalog);

// Calls visit(key, entry) for every entry below the folder `prefixKey`, in key
// order: keys that begin with it followed by a '\', so whole names match
// ("\fs\aircraft\kestrel" holds nothing of "\fs\aircraft\kestrel_hd").
template <typename Visit>
void forEachInTree(const Catalog& catalog, const std::string& prefixKey, Visit visit) {
  const std::string folder = prefixKey + '\\';
  for (auto it = catalog.lower_bound(folder);
       it != catalog.end() && it->first.compare(0, folder.size(), folder) == 0; ++it) {
    if (!visit(it->first, it->second)) return;
  }
}

}  // namespace Escort
