// Writes the trees and payloads the Windows tests embed: a plain tree (the
// Windows build adds its DLLs and packs it with payload-builder), and payloads
// with layouts a tree build never makes: an entry ending exactly at the end of
// the last chunk, damaged records and streams, an empty and a lying catalog.
// Usage: make-test-payloads OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "catalog_writer.h"
#include "payload_writer.h"

namespace fs = std::filesystem;
using PayloadTool::PayloadLayout;
using PayloadTool::PayloadLayoutEntry;

namespace {

constexpr uint32_t kTestChunkSize = 1024;

// Incompressible, but the same on every run.
std::string noise(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return bytes;
}

std::string text(const std::string& line, int repeats) {
  std::string out;
  for (int i = 0; i < repeats; ++i) out += line + " " + std::to_string(i) + "\r\n";
  return out;
}

// 3,000 bytes that barely compress: at the tree's chunk size the entry spans four chunks.
std::string bigFile() { return noise(3000, 7); }

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void writeTree(const fs::path& tree) {
  writeFile(tree / "ks/readme.txt", text("Kestrel 3 test readme line", 40));
  writeFile(tree / "ks/big.bin", bigFile());
  writeFile(tree / "ks/empty.txt", "");
  writeFile(tree / "ks/data/one.txt", text("one", 3));
  writeFile(tree / "ks/data/two.txt", text("two", 3));
  const char* aircraft[] = {"kestrel/a1/aircraft.cfg", "kestrel/a1/model.mdl", "kestrel/a2/aircraft.cfg",
                            "kestrel/a2/model.mdl", "kestrel/a3/aircraft.cfg", "marlin/m1/aircraft.cfg"};
  for (const char* file : aircraft) writeFile(tree / "fs/aircraft" / file, text(file, 5));
}

PayloadLayoutEntry entry(const std::string& path, const std::string& content) {
  PayloadLayoutEntry e;
  e.path = path;
  e.stream = PayloadTool::compressStream(content);
  e.uncompressedSize = static_cast<uint32_t>(content.size());
  return e;
}

bool write(const PayloadLayout& layout, const fs::path& dir) {
  std::string error;
  if (PayloadTool::writePayload(layout, dir.string(), error)) return true;
  std::fprintf(stderr, "%s: %s\n", dir.string().c_str(), error.c_str());
  return false;
}

// Rewrites catalog.bin after the fact, for records that lie about their data.
void patchCatalog(const fs::path& dir, const std::function<void(Escort::CatalogHeader&,
                                                                std::vector<Escort::CatalogRecord>&)>& patch) {
  std::ifstream in(dir / "catalog.bin", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  Escort::CatalogHeader header;
  std::vector<Escort::CatalogRecord> records;
  Escort::readCatalogRecords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), header, records);
  patch(header, records);
  std::string patched = PayloadTool::serializeCatalog(header.chunkSize, records);
  // The header's count is written from `records`; a lying count is patched in place.
  for (int i = 0; i < 4; ++i) patched[4 + i] = static_cast<char>(header.entryCount >> (8 * i));
  std::ofstream(dir / "catalog.bin", std::ios::binary | std::ios::trunc) << patched;
}

Escort::CatalogEntry& recordOf(std::vector<Escort::CatalogRecord>& records, const std::string& path) {
  for (Escort::CatalogRecord& record : records)
    if (record.path == path) return record.entry;
  std::fprintf(stderr, "no record %s\n", path.c_str());
  std::exit(1);
}

bool writeBoundary(const fs::path& dir) {
  PayloadLayout layout;
  layout.chunkSize = kTestChunkSize;
  PayloadLayoutEntry edge = entry("\\ks\\edge.bin", bigFile());
  // Start where the stream then ends exactly at a chunk end: no chunk follows it.
  edge.streamOffset = (kTestChunkSize - edge.stream.size() % kTestChunkSize) % kTestChunkSize;
  layout.entries.push_back(edge);
  return write(layout, dir);
}

bool writeDamaged(const fs::path& dir) {
  PayloadLayout layout;
  layout.chunkSize = kTestChunkSize;
  std::string content = text("damaged entry", 30);
  PayloadLayoutEntry corrupt = entry("\\ks\\corrupt.bin", content);
  corrupt.stream[2] = '\xFF';  // first deflate block: reserved block type 3
  PayloadLayoutEntry overlong = entry("\\ks\\overlong.bin", content);
  overlong.stream += "JUNK!";  // bytes after the zlib trailer, counted in compressedSize
  PayloadLayoutEntry zero;
  zero.path = "\\ks\\zero.bin";  // stored with no bytes at all
  layout.entries = {corrupt, entry("\\ks\\truncated.bin", content), overlong,
                    entry("\\ks\\missing_chunk.bin", content), entry("\\ks\\chunk_zero.bin", content),
                    entry("\\ks\\bad_offset.bin", content), zero,
                    // last in the stream, so that its made-up length runs past the last chunk
                    entry("\\ks\\past_last_chunk.bin", noise(1500, 3))};
  if (!write(layout, dir)) return false;
  patchCatalog(dir, [](Escort::CatalogHeader&, std::vector<Escort::CatalogRecord>& records) {
    recordOf(records, "\\ks\\truncated.bin").compressedSize -= 6;
    recordOf(records, "\\ks\\missing_chunk.bin").chunkId = 60000;
    recordOf(records, "\\ks\\chunk_zero.bin").chunkId = 0;
    recordOf(records, "\\ks\\bad_offset.bin").chunkOffset = kTestChunkSize;
    recordOf(records, "\\ks\\past_last_chunk.bin").compressedSize += 3 * kTestChunkSize;
  });
  return true;
}

bool writeEmpty(const fs::path& dir) {
  PayloadLayout layout;
  layout.chunkSize = kTestChunkSize;
  return write(layout, dir);
}

bool writeBadCatalog(const fs::path& dir) {
  PayloadLayout layout;
  layout.chunkSize = kTestChunkSize;
  layout.entries = {entry("\\ks\\readme.txt", "announced twice, stored once")};
  if (!write(layout, dir)) return false;
  // One record more than the resource holds.
  patchCatalog(dir, [](Escort::CatalogHeader& header, std::vector<Escort::CatalogRecord>&) {
    header.entryCount += 1;
  });
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-test-payloads OUTDIR\n");
    return 2;
  }
  fs::path out = argv[1];
  fs::create_directories(out);
  writeTree(out / "tree");
  bool ok = writeBoundary(out / "boundary") && writeDamaged(out / "damaged") && writeEmpty(out / "empty") &&
            writeBadCatalog(out / "bad_catalog");
  return ok ? 0 : 1;
}
