// make-bench-tree: writes the benchmark's payload tree, the same bytes for the
// same seed on every machine. Pack it with payload-builder.
// Usage: make-bench-tree TREE [SEED [TIMES]]   (TIMES: the files of the
// default tree taken that many times over, in more aircraft; 1 by default)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "bench_file_content.h"
#include "bench_tree_plan.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const size_t times = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 1;
  if (argc < 2 || argc > 4 || times < 1) {
    std::fprintf(stderr, "usage: make-bench-tree TREE [SEED [TIMES]]\n");
    return 2;
  }
  const fs::path tree = argv[1];
  const uint64_t seed = argc >= 3 ? std::strtoull(argv[2], nullptr, 10) : 2004;
  std::error_code error;
  fs::remove_all(tree, error);  // a tree of an earlier seed or plan would linger otherwise

  uint64_t bytes = 0;
  const std::vector<BenchFile> files = planBenchTree(seed, times);
  for (const BenchFile& file : files) {
    const fs::path path = tree / file.path;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string content = benchFileContent(file);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
      std::fprintf(stderr, "make-bench-tree: cannot write %s\n", path.string().c_str());
      return 1;
    }
    bytes += content.size();
  }
  std::printf("bench tree: %zu files, %llu bytes, seed %llu\n", files.size(),
              static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(seed));
  return 0;
}
