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

std::string withoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
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
    std::set<std::string> flushed;  // in lower case, each once
    const auto flushOnce = [&flushed](const std::string& path) {
      return path.size() <= 2 || !flushed.insert(asciiLowerCase(path)).second || flushPath(path);
    };
    for (const std::string& file : paths.data) {
      if (!flushOnce(file) || !flushOnce(parentDirectory(file))) return false;
    }
    for (const std::string& name : paths.names) {
      if (!flushOnce(parentDirectory(name))) return false;
    }
  }
  return true;
}
