#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace Escort {

// A binary output file that every early return closes. close() reports the
// final flush, so that a full disk is not mistaken for a finished file.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { close(); }

  // Created if missing, truncated if present, no sharing restrictions.
  bool open(const std::string& path);
  bool write(const unsigned char* data, size_t length);
  bool close();

 private:
  FILE* file_ = nullptr;
};

}  // namespace Escort
