#include "file_placement.h"

#include <windows.h>

#include "durable_changes.h"
#include "installable_path.h"
#include "temporary_file_name.h"
#include "text_format.h"

namespace Escort {
namespace {

// Windows XP..11 refuse a longer path (MAX_PATH, MSDN); Wine 8.0 would accept
// it.
bool fits(const std::string& path) {
  if (path.size() <= kMaxFilePath) return true;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return false;
}

}  // namespace

std::string newKeptCopyPath(const std::string& path) {
  // Numbered on from one call to the next, so that the names a run gives
  // rarely have to be tried twice.
  static unsigned number = GetTickCount();
  const std::string folder = parentDirectory(path) + '\\';
  for (unsigned tried = 0; tried < 0x10000; ++tried) {
    const std::string kept = folder + keptCopyName(number++);
    if (GetFileAttributesA(kept.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
      return kept;
  }
  return std::string();
}

// Renaming opens the file for deleting (Windows XP..11, and Wine 8.0 as
// observed): a program that holds it without sharing that refuses it.
bool renameAside(const std::string& path, const std::string& keptCopy) {
  return durable::moveFile(path, keptCopy, 0);
}

bool placeOverEarlierFile(const std::string& temporary, const std::string& destination, const std::string& keptCopy) {
  if (!fits(destination) || !fits(keptCopy) || !renameAside(destination, keptCopy)) return false;
  if (durable::moveFile(temporary, destination, 0)) return true;
  const DWORD error = GetLastError();
  durable::moveFile(keptCopy, destination, 0);
  SetLastError(error);
  return false;
}

bool placeReplacing(const std::string& temporary, const std::string& destination) {
  return fits(destination) && durable::moveFile(temporary, destination, MOVEFILE_REPLACE_EXISTING);
}

bool isInUse(const std::string& path, unsigned long error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  if (error != ERROR_ACCESS_DENIED) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

bool isHeldByAnotherProgram(const std::string& path) {
  // Writing and renaming both: a program that shares neither, or a running
  // program's own module (Windows maps it, and no one may write it), is in
  // the way of what the installation does to the file.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return isInUse(path, GetLastError());
}

}  // namespace Escort
