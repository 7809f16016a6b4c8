#include "directory_creation.h"

#include <windows.h>

#include <vector>

#include "durable_changes.h"
#include "installable_path.h"
#include "text_format.h"

namespace Escort {

namespace {

bool isMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Windows XP..11 refuse a longer directory (CreateDirectory, MSDN); Wine 8.0
// would create it.
bool createDirectory(const std::string& directory) {
  if (directory.size() <= kMaxDirectoryPath) return durable::createDirectory(directory);
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return false;
}

}  // namespace

bool makeDirectory(const std::string& directory, const std::function<bool(const std::string&)>& willMake) {
  std::vector<std::string> missing;  // the deepest first
  std::string level = directory;
  for (; level.size() > 2 && isMissing(level); level = parentDirectory(level)) missing.push_back(level);
  // A drive's root is never made: a drive that is not there ends it.
  if (level.size() <= 2 && GetFileAttributesA((level + '\\').c_str()) == INVALID_FILE_ATTRIBUTES) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  if (missing.empty()) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    if (!willMake(*level) || !createDirectory(*level)) return false;
  }
  return true;
}

}  // namespace Escort
