#include "file_placement.h"

#include <windows.h>

#include "destination_directory.h"
#include "temporary_file_name.h"
#include "text_format.h"
#include "windows_path_limits.h"

namespace Escort {
namespace {

// The earlier file must not give way to data that has not reached the disk:
// a machine that stops right after the move would otherwise lose both.
void flushToDisk(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(file);
  CloseHandle(file);
}

// A second name for the earlier file, which the move leaves untouched: a hard
// link where the file system has them (no copying), else a copy.
bool keepCopy(const std::string& path, std::string& kept) {
  if (!createTemporaryFile(parentDirectory(path), kTemporaryFilePrefix, kept)) return false;
  DeleteFileA(kept.c_str());  // the name is reserved no longer, but it is ours
  if (CreateHardLinkA(kept.c_str(), path.c_str(), nullptr) || CopyFileA(path.c_str(), kept.c_str(), TRUE))
    return true;
  DeleteFileA(kept.c_str());
  kept.clear();
  return false;
}

// A file that another program holds open and shares with no one cannot be
// replaced. Asked first, since a second name made for such a file could not
// be taken away again while the file stays held.
bool heldByAnotherProgram(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(file);
  return false;
}

}  // namespace

Placement placeFile(const std::string& temporary, const std::string& destination, bool keepEarlier,
                    std::string& keptCopy) {
  keptCopy.clear();
  // Windows refuses a longer path; Wine would accept it.
  if (!fitsWindowsPath(destination)) return Placement::Failed;
  if (MoveFileExA(temporary.c_str(), destination.c_str(), 0)) return Placement::Created;
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return Placement::Failed;

  if (heldByAnotherProgram(destination)) return Placement::Failed;
  flushToDisk(temporary);
  if (keepEarlier && !keepCopy(destination, keptCopy)) return Placement::Failed;
  if (MoveFileExA(temporary.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING)) return Placement::Replaced;
  if (!keptCopy.empty()) DeleteFileA(keptCopy.c_str());
  keptCopy.clear();
  return Placement::Failed;
}

bool moveAside(const std::string& path, std::string& keptCopy) {
  if (!createTemporaryFile(parentDirectory(path), kTemporaryFilePrefix, keptCopy)) return false;
  if (MoveFileExA(path.c_str(), keptCopy.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileA(keptCopy.c_str());
  keptCopy.clear();
  return false;
}

}  // namespace Escort
