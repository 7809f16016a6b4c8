#include "change_flush.h"

#include <windows.h>

#include <map>
#include <set>

#include "durable_changes.h"
#include "text_format.h"

bool flushPath(const std::string& path) {
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  const bool flushed = durable::flushFile(handle, path);
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  return flushed;
}

namespace {

struct OnDrive {
  std::vector<std::string> names, data;
};

// The deepest folder of `path` that is there (a folder removed, or a file
// deleted, leaves its parent); the drive's root at most.
std::string existingFolderOf(std::string path) {
  for (path = parentDirectory(path); path.size() > 2; path = parentDirectory(path)) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
  }
  return path + '\\';
}

}  // namespace

bool flushChangesTo(const std::vector<std::string>& names, const std::vector<std::string>& dataOf) {
  std::map<std::string, OnDrive> byDrive;  // "c:" -> its paths
  const auto sort = [&byDrive](const std::vector<std::string>& paths, std::vector<std::string> OnDrive::*into) {
    for (const std::string& path : paths) {
      if (path.size() >= 2 && path[1] == ':')
        (byDrive[asciiLowerCase(path.substr(0, 2))].*into).push_back(withoutTrailingBackslash(path));
    }
  };
  sort(names, &OnDrive::names);
  sort(dataOf, &OnDrive::data);
  for (const auto& [drive, paths] : byDrive) {
    if (durable::flushVolume(drive)) continue;
    // File by file: each file's data; and a flush on the volume writes out
    // its record of names up to that instant (NTFS's log is one sequence), so
    // one flush there after the last change serves every name.
    for (const std::string& file : paths.data) {
      if (!flushPath(file)) return false;
    }
    if (paths.data.empty() && !flushPath(existingFolderOf(paths.names.back()))) return false;
  }
  return true;
}
