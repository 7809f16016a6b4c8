// bench-inflate: how long plain zlib takes to inflate every stream of a packed
// payload on this host, with the streams already in memory and the output
// thrown away: the floor under any installation of the same payload.
// Usage: bench-inflate PAYLOADDIR [ROUNDS]
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chunk_walk.h"
#include "payload_reader.h"

namespace {

// Returns the bytes produced, or -1 when a stream does not inflate.
long long inflateAll(const std::vector<std::string>& streams, uint32_t bufferSize) {
  std::vector<unsigned char> out(bufferSize);
  long long produced = 0;
  for (const std::string& stream : streams) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return -1;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int result = Z_OK;
    while (result == Z_OK) {
      z.next_out = out.data();
      z.avail_out = bufferSize;
      result = inflate(&z, Z_NO_FLUSH);
    }
    produced += z.total_out;
    inflateEnd(&z);
    if (result != Z_STREAM_END && !(result == Z_BUF_ERROR && stream.empty())) return -1;
  }
  return produced;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: bench-inflate PAYLOADDIR [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc == 3 ? std::atoi(argv[2]) : 3;
  PayloadTool::PayloadReader payload;
  std::string error;
  if (!payload.open(argv[1], error)) {
    std::fprintf(stderr, "bench-inflate: %s\n", error.c_str());
    return 1;
  }

  const uint32_t chunkSize = payload.header().chunkSize;
  std::vector<std::string> streams;
  size_t streamBytes = 0;
  for (const auto& [key, entry] : payload.catalog()) {
    std::string stream, piece;
    Escort::ChunkWalk walk(entry, chunkSize);
    for (Escort::ChunkPiece at; walk.next(at); stream += piece) {
      if (!payload.readPiece(at, piece)) {
        std::fprintf(stderr, "bench-inflate: cannot read %s\n", key.c_str());
        return 1;
      }
    }
    streamBytes += stream.size();
    streams.push_back(std::move(stream));
  }

  double best = 0;
  long long produced = 0;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    produced = inflateAll(streams, chunkSize);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (produced < 0) {
      std::fprintf(stderr, "bench-inflate: a stream did not inflate\n");
      return 1;
    }
    if (round == 0 || ms < best) best = ms;
  }
  std::printf("host inflate only: %zu streams, %zu bytes in, %lld bytes out, best of %d: %.1f ms (%.0f MB/s out)\n",
              streams.size(), streamBytes, produced, rounds, best, produced / best / 1000.0);
  return 0;
}
