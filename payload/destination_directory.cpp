#include "destination_directory.h"

#include <windows.h>

#include <vector>

#include "temporary_file_name.h"
#include "text_format.h"
#include "windows_path_limits.h"

namespace Escort {

namespace {

bool isMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Windows refuses a longer directory; Wine would create it.
bool createDirectory(const std::string& directory) {
  return directory.size() <= kMaxDirectoryPath && CreateDirectoryA(directory.c_str(), nullptr);
}

}  // namespace

bool makeDirectory(const std::string& directory, const std::function<bool(const std::string&)>& willMake) {
  std::vector<std::string> missing;  // the deepest first
  for (std::string level = directory; !level.empty() && isMissing(level); level = parentDirectory(level))
    missing.push_back(level);
  if (missing.empty()) return false;
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    if (!willMake(*level) || !createDirectory(*level)) return false;
  }
  return true;
}

void deleteTemporaryFiles(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + '\\' + kTemporaryFilePrefix + "*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTemporaryFileName(found.cFileName))
      DeleteFileA((directory + '\\' + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace Escort
