#include "entry_inflater.h"

#include <zlib.h>

#include <new>

#include "chunk_walk.h"
#include "extract_result.h"

namespace Escort {

EntryInflater::EntryInflater() : stream_(new z_stream_s{}) {}

EntryInflater::~EntryInflater() {
  if (initialised_) inflateEnd(stream_.get());
}

void EntryInflater::readFrom(HMODULE module, uint32_t chunkSize) {
  module_ = module;
  if (chunkSize != chunkSize_) output_.reset();
  chunkSize_ = chunkSize;
  chunks_.clear();
}

int EntryInflater::chunk(uint16_t id, PayloadResource& found) {
  if (id < chunks_.size() && chunks_[id].data) {
    found = chunks_[id];
    return kExtractOk;
  }
  if (int code = loadPayloadResource(module_, id, found)) return code;
  if (id >= chunks_.size()) chunks_.resize(id + 1u);
  chunks_[id] = found;
  return kExtractOk;
}

int EntryInflater::inflate(const CatalogEntry& entry, OutputFile& out, FileExtractorStatus& status) {
  if (!output_) output_.reset(new (std::nothrow) unsigned char[chunkSize_]);
  if (!output_) return kInflateInitFailed;
  // One stream for the life of the extractor, reset for each entry.
  z_stream& z = *stream_;
  if (!initialised_ && !(initialised_ = inflateInit(&z) == Z_OK)) return kInflateInitFailed;
  if (inflateReset(&z) != Z_OK) return kInflateInitFailed;
  z.next_out = output_.get();
  z.avail_out = chunkSize_;
  ended_ = false;

  // An entry stored with no bytes at all is an empty file, not a damaged stream.
  if (entry.compressedSize == 0) return entry.uncompressedSize == 0 ? kExtractOk : kInflateFailed;

  ChunkWalk walk(entry, chunkSize_);
  if (!walk.valid()) return kChunkMissing;
  ChunkPiece piece;
  uint32_t fed = 0;
  while (walk.next(piece)) {
    if (ended_) return kInflateFailed;  // bytes left over after the stream's trailer
    PayloadResource found;
    if (int code = chunk(piece.chunkId, found)) return code;
    // A chunk shorter than the catalog says cannot supply the piece.
    if (found.size < size_t(piece.offset) + piece.length) return kChunkMissing;
    fed += piece.length;
    if (int code = feedPiece(entry, found, piece.offset, piece.length, fed, out, status)) return code;
  }
  // Input used up before the stream's end, or a stream that gives another
  // size than the catalog records: a truncated or damaged entry, which must
  // never take the place of a file.
  return ended_ && z.total_out == entry.uncompressedSize ? kExtractOk : kInflateFailed;
}

int EntryInflater::feedPiece(const CatalogEntry& entry, const PayloadResource& chunk, uint32_t offset,
                             uint32_t length, uint32_t fedSoFar, OutputFile& out, FileExtractorStatus& status) {
  z_stream& z = *stream_;
  // Straight from the resource: inflate only reads its input (ZLIB_CONST).
  z.next_in = chunk.data + offset;
  z.avail_in = length;

  // Keep inflating while input is left, and also while the last call filled the
  // whole output buffer: zlib may hold back output it could not place yet.
  bool outputFilled = false;
  while (z.avail_in > 0 || outputFilled) {
    const int result = ::inflate(&z, Z_NO_FLUSH);
    if (result == Z_BUF_ERROR && z.avail_in == 0) break;  // nothing pending; wants input
    if (result != Z_OK && result != Z_STREAM_END) return kInflateFailed;
    outputFilled = z.avail_out == 0;
    if (outputFilled || result == Z_STREAM_END) {
      if (!out.write(output_.get(), chunkSize_ - z.avail_out)) return kWriteFailed;
      z.next_out = output_.get();
      z.avail_out = chunkSize_;
    }
    status.fileProgress(fedSoFar, entry.compressedSize, static_cast<uint32_t>(z.total_out), entry.uncompressedSize);
    if (result == Z_STREAM_END) {
      ended_ = true;
      return z.avail_in == 0 ? kExtractOk : kInflateFailed;
    }
  }
  return kExtractOk;
}

}  // namespace Escort
