#include "output_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

#include "temporary_file_name.h"
#include "windows_path_limits.h"

namespace Escort {

// Made and opened in one call, with a name as GetTempFileNameA would give it
// (the prefix, up to four hexadecimal digits, ".tmp"): GetTempFileNameA
// makes and closes the file, and it would take a second opening to write it.
bool OutputFile::createTemporary(const std::string& directory, std::string& path) {
  close();
  if (directory.size() > kMaxTemporaryFileDirectory) return false;
  const unsigned start = GetTickCount() & 0xFFFF;
  for (unsigned attempt = 0; attempt < 0x10000; ++attempt) {
    const unsigned unique = (start + attempt) & 0xFFFF;
    if (unique == 0) continue;
    const std::string candidate = directory + '\\' + temporaryFileName(unique);
    HANDLE handle = CreateFileA(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return false;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor == -1 || !(file_ = _fdopen(descriptor, "wb"))) {
      if (descriptor == -1) CloseHandle(handle); else _close(descriptor);
      DeleteFileA(candidate.c_str());
      return false;
    }
    path = candidate;
    return true;
  }
  return false;
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
