#include "payload_reader.h"

#include <filesystem>
#include <fstream>

#include "payload_files.h"

namespace PayloadTool {
namespace {

namespace fs = std::filesystem;

std::string readFailure(Escort::CatalogReadResult result) {
  switch (result) {
    case Escort::CatalogReadResult::TooShortForHeader:
      return "shorter than the 8-byte header";
    case Escort::CatalogReadResult::ZeroChunkSize:
      return "the header gives chunk size 0";
    case Escort::CatalogReadResult::RecordOutOfBounds:
      return "a record runs past the end of the file";
    case Escort::CatalogReadResult::Ok:
      break;
  }
  return "";
}

}  // namespace

bool PayloadReader::open(const std::string& directory, std::string& error) {
  directory_ = directory;
  const std::string catalogPath = directory + "/" + kCatalogFileName;
  std::string bytes;
  if (!readFileBytes(catalogPath, bytes)) {
    error = catalogPath + ": cannot be read";
    return false;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  Escort::CatalogReadResult result =
      Escort::readCatalogRecords(data, bytes.size(), header_, records_);
  if (result == Escort::CatalogReadResult::Ok)
    result = Escort::readCatalog(data, bytes.size(), header_, catalog_);
  if (result != Escort::CatalogReadResult::Ok) {
    error = catalogPath + ": " + readFailure(result);
    return false;
  }
  uint64_t used = Escort::kCatalogHeaderSize;
  std::map<std::string, size_t> firstWithKey;
  for (size_t i = 0; i < records_.size(); ++i) {
    const std::string& path = records_[i].path;
    used += Escort::kCatalogRecordFixedSize + path.size();
    firstRecordWithKey_.push_back(
        firstWithKey.emplace(path.substr(0, path.find('\0')), i).first->second);
  }
  bytesAfterLastRecord_ = bytes.size() - used;

  std::error_code fsError;
  for (fs::directory_iterator it(directory, fsError), end; !fsError && it != end;
       it.increment(fsError)) {
    uint32_t chunkId = chunkIdOfFileName(it->path().filename().string());
    if (chunkId != 0) chunkFileSizes_[chunkId] = it->file_size(fsError);
  }
  if (fsError) {
    error = directory + ": cannot be read: " + fsError.message();
    return false;
  }
  return true;
}

uint32_t PayloadReader::highestChunkId() const {
  return chunkFileSizes_.empty() ? 0 : chunkFileSizes_.rbegin()->first;
}

uint64_t PayloadReader::streamBytes() const {
  uint64_t total = 0;
  for (const auto& [chunkId, size] : chunkFileSizes_) total += size;
  return total;
}

bool PayloadReader::readPiece(const Escort::ChunkPiece& piece, std::string& bytes) const {
  std::ifstream chunk(directory_ + "/" + chunkFileName(piece.chunkId), std::ios::binary);
  bytes.resize(piece.length);
  return chunk.seekg(piece.offset) && chunk.read(bytes.data(), piece.length);
}

}  // namespace PayloadTool
