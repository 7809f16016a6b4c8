#include "output_file.h"

#include <share.h>

#include "windows_path_limits.h"

namespace Escort {

bool OutputFile::open(const std::string& path) {
  close();
  if (!fitsWindowsPath(path)) return false;
  file_ = _fsopen(path.c_str(), "wb", _SH_DENYNO);
  return file_ != nullptr;
}

bool OutputFile::write(const unsigned char* data, size_t length) {
  return length == 0 || std::fwrite(data, 1, length, file_) == length;
}

bool OutputFile::close() {
  if (!file_) return true;
  bool flushed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed;
}

}  // namespace Escort
