#include "change_flush.h"

#include <windows.h>

#include <map>
#include <set>

#include "durable_changes.h"
#include "text_format.h"

namespace {

// Flushes what is at `path`, file or folder, through a handle opened for
// writing; true where nothing is there any more.
bool flushOne(const std::string& path) {
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

}  // namespace

bool flushChangesTo(const std::vector<std::string>& paths, bool written) {
  std::map<std::string, std::vector<const std::string*>> byDrive;  // "c:" -> its paths
  for (const std::string& path : paths) {
    if (path.size() >= 2 && path[1] == ':') byDrive[asciiLowerCase(path.substr(0, 2))].push_back(&path);
  }
  for (const auto& [drive, onDrive] : byDrive) {
    if (durable::flushVolume(drive)) continue;
    std::set<std::string> flushed;  // in lower case, each once
    for (const std::string* path : onDrive) {
      std::string entry = *path;
      if (!entry.empty() && entry.back() == '\\') entry.pop_back();
      for (const std::string& each : {written ? entry : std::string(), parentDirectory(entry)}) {
        if (each.size() > 2 && flushed.insert(asciiLowerCase(each)).second && !flushOne(each)) return false;
      }
    }
  }
  return true;
}
