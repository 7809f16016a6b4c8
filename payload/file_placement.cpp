#include "file_placement.h"

#include <windows.h>

#include "temporary_file_name.h"
#include "text_format.h"
#include "windows_path_limits.h"

namespace Escort {

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

bool placeNewFile(const std::string& temporary, const std::string& destination) {
  // Windows refuses a longer path; Wine would accept it.
  return fitsWindowsPath(destination) && MoveFileExA(temporary.c_str(), destination.c_str(), 0);
}

bool placeOverEarlierFile(const std::string& temporary, const std::string& destination, const std::string& keptCopy) {
  if (!fitsWindowsPath(destination) || !fitsWindowsPath(keptCopy) ||
      !MoveFileExA(destination.c_str(), keptCopy.c_str(), 0))
    return false;
  if (MoveFileExA(temporary.c_str(), destination.c_str(), 0)) return true;
  MoveFileExA(keptCopy.c_str(), destination.c_str(), 0);
  return false;
}

bool placeReplacing(const std::string& temporary, const std::string& destination) {
  return fitsWindowsPath(destination) &&
         MoveFileExA(temporary.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace Escort
