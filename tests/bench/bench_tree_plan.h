#pragma once
// The files of the benchmark tree: laid out like the real payload (program
// files, simulator modules, two aircraft model sets) and sized so that the
// packed payload has its shape: 1,319 entries, about 24 MB of level-9 streams
// in about 372 chunks of 64 KiB, about 318 entries across a chunk boundary,
// the longest over 18 chunks, one empty file. A larger tree of the same shape
// holds more aircraft: `times` the files, about `times` the bytes.
#include <cstdint>
#include <string>
#include <vector>

struct BenchFile {
  std::string path;  // relative to the tree, '/'-separated, lower case
  uint32_t size = 0;
  // Share of the file's 4 KiB blocks that hold random bytes; the rest is text
  // or sparse binary structure. Level 9 keeps the random blocks whole and
  // squeezes the rest, so the stream is about noise × size.
  double noise = 0;
  bool text = false;  // the other blocks: words and lines, or sparse binary
  uint64_t seed = 0;  // for the file's own content
};

constexpr size_t kBenchFileCount = 1319;

std::vector<BenchFile> planBenchTree(uint64_t seed, size_t times = 1);
