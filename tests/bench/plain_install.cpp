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

bool inflateInto(HANDLE file, const std::vector<const unsigned char*>& chunks, uint32_t chunkSize,
                 const Escort::CatalogEntry& entry, std::vector<unsigned char>& out, uint64_t& bytes) {
  if (entry.compressedSize == 0) return true;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  int result = Z_OK;
  Escort::ChunkWalk walk(entry, chunkSize);
  for (Escort::ChunkPiece piece; result == Z_OK && walk.next(piece);) {
    if (piece.chunkId >= chunks.size() || !chunks[piece.chunkId]) break;
    z.next_in = const_cast<Bytef*>(chunks[piece.chunkId] + piece.offset);
    z.avail_in = piece.length;
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      result = inflate(&z, Z_NO_FLUSH);
      const DWORD produced = static_cast<DWORD>(out.size() - z.avail_out);
      DWORD written = 0;
      if (produced && !WriteFile(file, out.data(), produced, &written, nullptr)) result = Z_ERRNO;
      bytes += written;
    } while (result == Z_OK && (z.avail_in > 0 || z.avail_out == 0));
  }
  inflateEnd(&z);
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
  std::set<std::string> made;
  for (const auto& [key, entry] : catalog) {
    const std::string destination = destinationOf(key, programDir, simulatorDir);
    if (destination.empty()) continue;
    makeParents(destination, made);
    HANDLE file = CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return run;
    const bool inflated = inflateInto(file, chunks, header.chunkSize, entry, out, run.bytes);
    CloseHandle(file);
    if (!inflated) return run;
    ++run.files;
  }
  run.ok = true;
  return run;
}
