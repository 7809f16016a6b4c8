#pragma once
#include <cstddef>
#include <string>

namespace Escort {

// A binary output file that every early return closes, written straight
// through WriteFile (no runtime buffer: the extractor writes whole blocks of
// inflated data). close() reports whether the file was closed whole.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { close(); }

  // The new file `path`, open for writing; false when a file of that name is
  // there already (ERROR_FILE_EXISTS) or it cannot be made.
  bool create(const std::string& path);
  // A new file with a temporary name of its own in `directory`
  // (temporary_file_name.h), given in `path`, open for writing. False when
  // none can be made there: a directory that is missing, takes no new file,
  // or is too long for such a name.
  bool createTemporary(const std::string& directory, std::string& path);
  bool write(const unsigned char* data, size_t length);
  bool close();
  // The open file, handed over: no longer this one's to close.
  void* release();
  // The Windows error of the making, writing or closing that failed.
  unsigned long error() const { return error_; }

 private:
  bool open(const std::string& path);

  void* file_ = nullptr;
  std::string path_;
  unsigned long error_ = 0;
};

}  // namespace Escort
