#include "output_file.h"

#include <windows.h>

#include "durable_changes.h"
#include "installable_path.h"
#include "temporary_file_name.h"

namespace Escort {

bool OutputFile::open(const std::string& path) {
  close();
  // Shared for reading and deleting: a virus scanner may look at it meanwhile,
  // and taking a failed run back deletes it.
  HANDLE handle = durable::createNewFile(path);
  if (handle == INVALID_HANDLE_VALUE) {
    error_ = GetLastError();
    return false;
  }
  file_ = handle;
  path_ = path;
  return true;
}

bool OutputFile::create(const std::string& path) {
  if (path.size() <= kMaxFilePath) return open(path);
  // Windows XP..11 refuse a longer path (MAX_PATH, MSDN); Wine 8.0 would make it.
  error_ = ERROR_FILENAME_EXCED_RANGE;
  return false;
}

// With a name as GetTempFileNameA would give it (the prefix, up to four
// hexadecimal digits, ".tmp"), made and opened in one call: GetTempFileNameA
// makes and closes the file, and it would take a second opening to write it.
bool OutputFile::createTemporary(const std::string& directory, std::string& path) {
  if (directory.size() > kMaxTemporaryFileDirectory) {
    error_ = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  const unsigned start = GetTickCount() & 0xFFFF;
  for (unsigned attempt = 0; attempt < 0x10000; ++attempt) {
    const unsigned unique = (start + attempt) & 0xFFFF;
    if (unique == 0) continue;
    const std::string candidate = directory + '\\' + temporaryFileName(unique);
    if (open(candidate)) {
      path = candidate;
      return true;
    }
    if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool OutputFile::write(const unsigned char* data, size_t length) {
  while (length > 0) {
    DWORD written = 0;
    const DWORD piece = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
    if (!durable::writeFile(file_, path_, data, piece, written) || written == 0) {
      error_ = written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError();
      return false;
    }
    data += written;
    length -= written;
  }
  return true;
}

void* OutputFile::release() {
  void* const file = file_;
  file_ = nullptr;
  return file;
}

bool OutputFile::close() {
  if (!file_) return true;
  const bool closed = CloseHandle(file_) != FALSE;
  if (!closed) error_ = GetLastError();
  file_ = nullptr;
  return closed;
}

}  // namespace Escort
