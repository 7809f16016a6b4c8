#include "destination_directory.h"

#include <windows.h>

#include <list>

namespace Escort {

std::string parentDirectory(const std::string& path) {
  size_t last = path.rfind('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

bool createTemporaryFile(const std::string& directory, const char* prefix, std::string& path) {
  // Windows refuses a directory longer than this; Wine's GetTempFileNameA
  // instead overruns its own buffer and brings the process down.
  if (directory.size() > MAX_PATH - 14) return false;
  char name[MAX_PATH];
  if (!GetTempFileNameA(directory.c_str(), prefix, 0, name)) return false;
  path = name;
  return true;
}

namespace {

// Creating and deleting one file is the only test that tells both "exists"
// and "accepts new files" (a read-only medium or a denied ACL fails here).
bool directoryTakesNewFiles(const std::string& directory) {
  std::string probe;
  if (!createTemporaryFile(directory, "", probe)) return false;
  DeleteFileA(probe.c_str());
  return true;
}

}  // namespace

bool ensureDirectory(const std::string& directory) {
  if (directoryTakesNewFiles(directory)) return true;

  // Climb until one level can be created; everything below it is still pending.
  std::list<std::string> pending;
  std::string current = directory;
  while (!current.empty()) {
    if (CreateDirectoryA(current.c_str(), nullptr)) break;
    pending.push_front(current);
    current = parentDirectory(current);
  }
  if (current.empty()) return false;  // nothing could be created, up to the drive

  for (const std::string& level : pending) {
    if (!CreateDirectoryA(level.c_str(), nullptr)) return false;
  }
  return true;
}

}  // namespace Escort
