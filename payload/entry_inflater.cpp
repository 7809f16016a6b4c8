#include "entry_inflater.h"

#include <zlib.h>

#include <cstring>
#include <memory>
#include <new>

#include "chunk_walk.h"
#include "extract_result.h"
#include "payload_resource.h"

namespace Escort {
namespace {

// Ends the inflate stream on every return once it has been initialised.
class InflateStream {
 public:
  InflateStream() { std::memset(&stream_, 0, sizeof stream_); }
  ~InflateStream() {
    if (initialised_) inflateEnd(&stream_);
  }
  bool init() { return initialised_ = inflateInit(&stream_) == Z_OK; }
  z_stream& operator*() { return stream_; }

 private:
  z_stream stream_;
  bool initialised_ = false;
};

class EntryInflater {
 public:
  EntryInflater(HMODULE module, uint32_t chunkSize, const CatalogEntry& entry, OutputFile& out,
                FileExtractorStatus& status)
      : module_(module), chunkSize_(chunkSize), entry_(entry), out_(out), status_(status) {}

  int run() {
    input_.reset(new (std::nothrow) unsigned char[chunkSize_]);
    output_.reset(new (std::nothrow) unsigned char[chunkSize_]);
    if (!input_ || !output_) return kInflateInitFailed;
    z_stream& z = *stream_;
    z.next_out = output_.get();
    z.avail_out = chunkSize_;
    if (!stream_.init()) return kInflateInitFailed;

    // An entry stored with no bytes at all is an empty file, not a damaged stream.
    if (entry_.compressedSize == 0) return entry_.uncompressedSize == 0 ? kExtractOk : kInflateFailed;

    ChunkWalk walk(entry_, chunkSize_);
    if (!walk.valid()) return kChunkMissing;
    ChunkPiece piece;
    uint32_t fed = 0;
    while (walk.next(piece)) {
      if (ended_) return kInflateFailed;  // bytes left over after the stream's trailer
      fed += piece.length;
      if (int code = feedPiece(piece, fed)) return code;
    }
    // Input used up before the stream's end, or a stream that gives another
    // size than the catalog records: a truncated or damaged entry, which must
    // never take the place of a file.
    return ended_ && z.total_out == entry_.uncompressedSize ? kExtractOk : kInflateFailed;
  }

 private:
  int feedPiece(const ChunkPiece& piece, uint32_t fedSoFar) {
    PayloadResource chunk;
    if (int code = loadPayloadResource(module_, piece.chunkId, chunk)) return code;
    // A chunk shorter than the catalog says cannot supply the piece.
    if (chunk.size < size_t(piece.offset) + piece.length) return kChunkMissing;

    z_stream& z = *stream_;
    std::memcpy(input_.get(), chunk.data + piece.offset, piece.length);
    z.next_in = input_.get();
    z.avail_in = piece.length;

    // Keep inflating while input is left, and also while the last call filled the
    // whole output buffer: zlib may hold back output it could not place yet.
    bool outputFilled = false;
    while (z.avail_in > 0 || outputFilled) {
      int result = inflate(&z, Z_NO_FLUSH);
      if (result == Z_BUF_ERROR && z.avail_in == 0) break;  // nothing pending; wants input
      if (result != Z_OK && result != Z_STREAM_END) return kInflateFailed;
      outputFilled = z.avail_out == 0;
      if (outputFilled || result == Z_STREAM_END) {
        if (!out_.write(output_.get(), chunkSize_ - z.avail_out)) return kWriteFailed;
        z.next_out = output_.get();
        z.avail_out = chunkSize_;
      }
      status_.fileProgress(fedSoFar, entry_.compressedSize, static_cast<uint32_t>(z.total_out),
                           entry_.uncompressedSize);
      if (result == Z_STREAM_END) {
        ended_ = true;
        return z.avail_in == 0 ? kExtractOk : kInflateFailed;
      }
    }
    return kExtractOk;
  }

  HMODULE module_;
  uint32_t chunkSize_;
  const CatalogEntry& entry_;
  OutputFile& out_;
  FileExtractorStatus& status_;
  std::unique_ptr<unsigned char[]> input_;
  std::unique_ptr<unsigned char[]> output_;
  InflateStream stream_;
  bool ended_ = false;
};

}  // namespace

int inflateEntry(HMODULE module, uint32_t chunkSize, const CatalogEntry& entry, OutputFile& out,
                 FileExtractorStatus& status) {
  return EntryInflater(module, chunkSize, entry, out, status).run();
}

}  // namespace Escort
