#include "zlib_deflate.h"

#include <zlib.h>

#include <sstream>
#include <vector>

namespace PayloadTool {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Owns a deflate state so that every early return ends it.
class Deflater {
 public:
  Deflater() { ok_ = deflateInit(&stream_, Z_BEST_COMPRESSION) == Z_OK; }
  ~Deflater() {
    if (ok_) deflateEnd(&stream_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  bool ok() const { return ok_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

}  // namespace

bool deflateStream(std::istream& in, std::ostream& out, DeflateCounts& counts) {
  Deflater deflater;
  if (!deflater.ok()) return false;
  z_stream& stream = deflater.stream();
  std::vector<char> input(kBufferSize);
  std::vector<char> output(kBufferSize);

  int flush = Z_NO_FLUSH;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (stream.avail_in == 0 && flush == Z_NO_FLUSH) {
      in.read(input.data(), static_cast<std::streamsize>(input.size()));
      if (in.fail() && !in.eof()) return false;
      stream.next_in = reinterpret_cast<Bytef*>(input.data());
      stream.avail_in = static_cast<uInt>(in.gcount());
      counts.bytesIn += stream.avail_in;
      if (in.eof()) flush = Z_FINISH;
    }
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    status = deflate(&stream, flush);
    if (status == Z_STREAM_ERROR) return false;
    size_t produced = output.size() - stream.avail_out;
    out.write(output.data(), static_cast<std::streamsize>(produced));
    if (!out) return false;
    counts.bytesOut += produced;
  }
  return true;
}

std::string compressStream(const std::string& bytes) {
  std::istringstream in(bytes);
  std::ostringstream out;
  DeflateCounts counts;
  deflateStream(in, out, counts);  // cannot fail on string streams with a working zlib
  return out.str();
}

}  // namespace PayloadTool
