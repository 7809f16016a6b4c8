#include "entry_inflate.h"

#include "chunk_walk.h"

namespace PayloadTool {
namespace {

std::string inflateProblem(StreamInflater::State state) {
  switch (state) {
    case StreamInflater::State::NeedsMore:
      return "zlib stream is cut short";
    case StreamInflater::State::DataAfterEnd:
      return "bytes follow the end of the zlib stream";
    case StreamInflater::State::Damaged:
      return "not a valid zlib stream";
    case StreamInflater::State::Ended:
      break;
  }
  return "";
}

}  // namespace

std::string inflateEntry(const PayloadReader& payload, const Escort::CatalogEntry& entry,
                         const StreamInflater::Sink& sink) {
  Escort::ChunkWalk walk(entry, payload.header().chunkSize);
  if (!walk.valid()) return "the record names no chunk data";
  StreamInflater inflater;
  Escort::ChunkPiece piece;
  std::string bytes;
  while (inflater.bytesOut() <= entry.uncompressedSize && walk.next(piece)) {
    if (!payload.readPiece(piece, bytes))
      return "chunk " + std::to_string(piece.chunkId) + " cannot be read";
    inflater.feed(bytes, sink);
  }
  if (inflater.bytesOut() > entry.uncompressedSize)
    return "inflates to more than the record's " + std::to_string(entry.uncompressedSize) + " bytes";
  const std::string problem = inflateProblem(inflater.state());
  if (!problem.empty()) return problem;
  if (inflater.bytesOut() != entry.uncompressedSize)
    return "inflates to " + std::to_string(inflater.bytesOut()) + " bytes, the record says " +
           std::to_string(entry.uncompressedSize);
  return "";
}

}  // namespace PayloadTool
