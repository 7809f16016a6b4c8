#include "plain_install.h"

#include <zlib.h>

#include <set>
#include <vector>

#include "catalog.h"
#include "chunk_walk.h"

namespace {

const unsigned char* resourceData(HMODULE module, WORD id, DWORD* size) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (size) *size = SizeofResource(module, found);
  return loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Where the worker puts a catalog entry for the benchmark's job; empty for
// the entries that job leaves alone (the Flight Simulator 2002 modules).
std::string destinationOf(const std::string& key, const std::string& programDir,
                          const std::string& simulatorDir) {
  if (startsWith(key, "\\ks\\")) return programDir + key.substr(4);
  static const std::set<std::string> modules = {
      "\\fs\\modules\\kstrans9.dll", "\\fs\\modules\\fsuipc.dll", "\\fs\\modules\\ksmod9.dll",
      "\\fs\\modules\\ksmpjoin9.dll"};
  if (modules.count(key) || startsWith(key, "\\fs\\aircraft\\kestrel\\") ||
      startsWith(key, "\\fs\\aircraft\\marlin\\"))
    return simulatorDir + key.substr(4);
  return std::string();
}

void makeParents(const std::string& path, std::set<std::string>& made) {
  for (size_t end = path.find('\\', 3); end != std::string::npos; end = path.find('\\', end + 1)) {
    const std::string level = path.substr(0, end);
    if (made.insert(level).second) CreateDirectoryA(level.c_str(), nullptr);
  }
}

// One zlib stream for every file, reset for each, and the output written
// only when the buffer is full or the stream ends: the fewest calls a file
// can take (a write for each piece of input was the slower way).
bool inflateInto(HANDLE file, z_stream& z, const std::vector<const unsigned char*>& chunks, uint32_t chunkSize,
                 const Escort::CatalogEntry& entry, std::vector<unsigned char>& out, uint64_t& bytes) {
  if (entry.compressedSize == 0) return true;
  if (inflateReset(&z) != Z_OK) return false;
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int result = Z_OK;
  Escort::ChunkWalk walk(entry, chunkSize);
  for (Escort::ChunkPiece piece; result == Z_OK && walk.next(piece);) {
    if (piece.chunkId >= chunks.size() || !chunks[piece.chunkId]) break;
    z.next_in = const_cast<Bytef*>(chunks[piece.chunkId] + piece.offset);
    z.avail_in = piece.length;
    bool filled = false;
    do {
      result = inflate(&z, Z_NO_FLUSH);
      if (result == Z_BUF_ERROR && z.avail_in == 0) {  // nothing held back; wants the next piece
        result = Z_OK;
        break;
      }
      filled = z.avail_out == 0;
      if (filled || result == Z_STREAM_END) {
        const DWORD produced = static_cast<DWORD>(out.size() - z.avail_out);
        DWORD written = 0;
        if (produced && !WriteFile(file, out.data(), produced, &written, nullptr)) result = Z_ERRNO;
        bytes += written;
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
      }
    } while (result == Z_OK && (z.avail_in > 0 || filled));
  }
  return result == Z_STREAM_END;
}

}  // namespace

PlainInstallResult plainInstall(HMODULE payload, const std::string& programDir,
                                const std::string& simulatorDir) {
  PlainInstallResult run;
  DWORD catalogSize = 0;
  const unsigned char* catalogData = resourceData(payload, 0, &catalogSize);
  Escort::CatalogHeader header;
  Escort::Catalog catalog;
  if (!catalogData ||
      Escort::readCatalog(catalogData, catalogSize, header, catalog) != Escort::CatalogReadResult::Ok)
    return run;

  std::vector<const unsigned char*> chunks(1);  // chunk ids start at 1
  while (const unsigned char* chunk = resourceData(payload, static_cast<WORD>(chunks.size()), nullptr))
    chunks.push_back(chunk);

  std::vector<unsigned char> out(header.chunkSize);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return run;
  std::set<std::string> made;
  uint32_t placed = 0;
  for (const auto& [key, entry] : catalog) {
    const std::string destination = destinationOf(key, programDir, simulatorDir);
    if (destination.empty()) continue;
    ++placed;
    makeParents(destination, made);
    HANDLE file = CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool inflated =
        file != INVALID_HANDLE_VALUE && inflateInto(file, z, chunks, header.chunkSize, entry, out, run.bytes);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!inflated) break;
    ++run.files;
  }
  inflateEnd(&z);
  run.ok = run.files == placed;
  return run;
}
