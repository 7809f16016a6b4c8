#include "destination_directory.h"

#include <windows.h>

#include <list>

#include "temporary_file_name.h"
#include "text_format.h"
#include "windows_path_limits.h"

namespace Escort {

bool createTemporaryFile(const std::string& directory, const char* prefix, std::string& path) {
  // Wine's GetTempFileNameA overruns its own buffer on a longer directory and
  // brings the process down, where Windows refuses it.
  if (directory.size() > kMaxTemporaryFileDirectory) return false;
  char name[MAX_PATH];
  if (!GetTempFileNameA(directory.c_str(), prefix, 0, name)) return false;
  path = name;
  return true;
}

namespace {

// Windows refuses a longer directory; Wine would create it.
bool createDirectory(const std::string& directory) {
  return directory.size() <= kMaxDirectoryPath && CreateDirectoryA(directory.c_str(), nullptr);
}

// Creating and deleting one file is the only test that tells both "exists"
// and "accepts new files" (a read-only medium or a denied ACL fails here).
bool directoryTakesNewFiles(const std::string& directory) {
  std::string probe;
  if (!createTemporaryFile(directory, kTemporaryFilePrefix, probe)) return false;
  DeleteFileA(probe.c_str());
  return true;
}

}  // namespace

bool ensureDirectory(const std::string& directory, std::vector<std::string>& created) {
  if (directoryTakesNewFiles(directory)) return true;

  // Climb until one level can be created; everything below it is still pending.
  std::list<std::string> pending;
  std::string current = directory;
  while (!current.empty()) {
    if (createDirectory(current)) break;
    pending.push_front(current);
    current = parentDirectory(current);
  }
  if (current.empty()) return false;  // nothing could be created, up to the drive
  created.push_back(current);

  for (const std::string& level : pending) {
    if (!createDirectory(level)) return false;
    created.push_back(level);
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
