#include "undo_actions.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "durable_changes.h"
#include "file_placement.h"
#include "registry_key.h"
#include "text_format.h"

namespace {

bool isNotFound(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The folder `level` as GetFileAttributes takes it: a drive's root with its backslash.
std::string asFolder(const std::string& level) { return level.size() == 2 ? level + '\\' : level; }

bool isPlainDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Whether `path` is `root` or lies below it, as Windows compares names.
bool isWithin(const std::string& path, const std::string& root) {
  return equalsIgnoringCase(path, root) ||
         (path.size() > root.size() && path[root.size()] == '\\' &&
          equalsIgnoringCase(path.substr(0, root.size()), root));
}

// Whether `folder` holds anything but the folders in `keptHere`.
bool holdsMoreThan(const std::string& folder, const std::vector<std::string>& keptHere) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool more = false;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + '\\' + name;
    more = std::none_of(keptHere.begin(), keptHere.end(),
                        [&path](const std::string& kept) { return equalsIgnoringCase(kept, path); });
  } while (!more && FindNextFileA(search, &found));
  FindClose(search);
  return more;
}

}  // namespace

bool isGone(const std::string& path, DWORD error) {
  if (!isNotFound(error)) return false;
  for (std::string level = parentDirectory(path); level.size() >= 2; level = parentDirectory(level)) {
    if (GetFileAttributesA(asFolder(level).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    // Missing too: look higher, up to the drive's root, which must be there.
    if (!isNotFound(GetLastError()) || level.size() == 2) return false;
  }
  return false;
}

std::string missingDriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return std::string();
  const std::string root = path.substr(0, 2) + '\\';
  return GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES ? root : std::string();
}

DWORD deleteFileEvent(const std::string& path) {
  if (durable::deleteFile(path)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return isGone(path, error) ? ERROR_SUCCESS : error;
}

DWORD restoreKeptCopy(const std::string& keptCopy, const std::string& path) {
  if (durable::moveFile(keptCopy, path, MOVEFILE_REPLACE_EXISTING)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return isGone(keptCopy, error) ? ERROR_SUCCESS : error;
}

DWORD removeFolderIfEmpty(const std::string& folder) {
  if (durable::removeDirectory(folder)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return isGone(folder, error) ? ERROR_SUCCESS : error;
}

DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& removed,
                           std::vector<std::string>& kept, PendingDeletions& pending) {
  const std::string root = withoutTrailingBackslash(directory);
  // Deepest first: a folder's depth is its number of levels.
  std::map<std::pair<size_t, std::string>, std::string, std::greater<>> candidates;
  const auto considerParentOf = [&](const std::string& path) {
    const std::string folder = parentDirectory(path);
    if (isWithin(folder, root))
      candidates.emplace(std::make_pair(backslashCount(folder), asciiLowerCase(folder)),
                         folder);
  };
  for (const std::string& path : removed) considerParentOf(path);

  DWORD error = ERROR_SUCCESS;
  std::vector<std::string> keptHere;
  while (!candidates.empty()) {
    const std::string folder = candidates.begin()->second;
    candidates.erase(candidates.begin());
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (!isGone(folder, GetLastError())) error = GetLastError();  // gone already, or out of sight
      continue;
    }
    if (!isPlainDirectory(attributes)) {
      keptHere.push_back(folder);  // a link to elsewhere, or a file of that name
      continue;
    }
    if (durable::removeDirectory(folder)) {
      removed.push_back(folder);
      considerParentOf(folder);
    } else if (GetLastError() == ERROR_DIR_NOT_EMPTY && pending.holdsOnlyPending(folder)) {
      // Gone now or at the restart, it is no longer in its parent's way.
      if (pending.removeFolder(folder)) removed.push_back(folder);
      considerParentOf(folder);
    } else if (GetLastError() == ERROR_DIR_NOT_EMPTY) {
      keptHere.push_back(folder);
    } else if (!isGone(folder, GetLastError())) {
      error = GetLastError();
    }
  }
  for (const std::string& folder : keptHere) {
    if (holdsMoreThan(folder, keptHere)) kept.push_back(folder);
  }
  return error;
}

DWORD putAsideUntilRestart(const std::string& path, const std::string& folder, std::string& besideIt) {
  besideIt.clear();
  const std::string inFolder = Escort::newKeptCopyPath(folder + path.substr(lastBackslash(path)));
  if (durable::moveFile(path, inFolder, 0)) {
    // The folder's own mark, made earlier, would come before the file's.
    MoveFileExA(inFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return ERROR_SUCCESS;
  }
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) return GetLastError();
  const std::string aside = Escort::newKeptCopyPath(path);
  if (!durable::moveFile(path, aside, 0)) return GetLastError();
  MoveFileExA(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  besideIt = aside;
  return ERROR_SUCCESS;
}

DWORD deleteRegTreeEvent(const std::string& subkey) {
  if (DWORD error = deleteKeyTree(subkey)) return error;
  // The level right below "Software", which itself stays.
  const size_t second = findBackslash(subkey);
  if (second != std::string::npos) deleteEmptyParentKeys(subkey, subkey.substr(0, findBackslash(subkey, second + 1)));
  return ERROR_SUCCESS;
}
