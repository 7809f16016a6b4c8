#include "zlib_inflate.h"

#include <vector>

namespace PayloadTool {
namespace {

constexpr size_t kOutputBufferSize = 64 * 1024;

}  // namespace

StreamInflater::StreamInflater() {
  if (inflateInit(&stream_) != Z_OK) state_ = State::Damaged;
}

StreamInflater::~StreamInflater() { inflateEnd(&stream_); }

void StreamInflater::feed(const std::string& piece, const Sink& sink) {
  if (piece.empty()) return;
  if (state_ == State::Ended) state_ = State::DataAfterEnd;
  if (state_ != State::NeedsMore) return;

  std::vector<char> output(kOutputBufferSize);
  stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
  stream_.avail_in = static_cast<uInt>(piece.size());
  do {
    stream_.next_out = reinterpret_cast<Bytef*>(output.data());
    stream_.avail_out = static_cast<uInt>(output.size());
    int status = inflate(&stream_, Z_NO_FLUSH);
    size_t produced = output.size() - stream_.avail_out;
    bytesOut_ += produced;
    if (produced > 0) sink(output.data(), produced);
    if (status == Z_STREAM_END) {
      state_ = stream_.avail_in > 0 ? State::DataAfterEnd : State::Ended;
      return;
    }
    // Z_BUF_ERROR only says this piece is used up; anything else but Z_OK is damage.
    if (status != Z_OK && status != Z_BUF_ERROR) {
      state_ = State::Damaged;
      return;
    }
  } while (stream_.avail_in > 0 || stream_.avail_out == 0);
}

}  // namespace PayloadTool
