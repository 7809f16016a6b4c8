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

  // A new file with a temporary name of its own in `directory`
  // (temporary_file_name.h), given in `path`, open for writing. False when
  // none can be made there: a directory that is missing, takes no new file,
  // or is too long for such a name.
  bool createTemporary(const std::string& directory, std::string& path);
  bool write(const unsigned char* data, size_t length);
  bool close();
  // The Windows error of the making, writing or closing that failed.
  unsigned long error() const { return error_; }

 private:
  FILE* file_ = nullptr;
  unsigned long error_ = 0;
};

}  // namespace Escort
