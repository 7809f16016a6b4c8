#include "undo_actions.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "text_format.h"

namespace {

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

std::string withoutTrailingBackslash(std::string path) {
  removeTrailingBackslash(path);
  return path;
}

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

bool isEmptyKey(const std::string& subkey) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 1, values = 1;
  const bool queried = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                        &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return queried && subkeys == 0 && values == 0;
}

}  // namespace

DWORD deleteFileEvent(const std::string& path) {
  if (DeleteFileA(path.c_str())) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return isGone(error) ? ERROR_SUCCESS : error;
}

DWORD restoreKeptCopy(const std::string& keptCopy, const std::string& path) {
  return MoveFileExA(keptCopy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? ERROR_SUCCESS : GetLastError();
}

DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& removed,
                           std::vector<std::string>& kept) {
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
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;  // gone already
    if (!isPlainDirectory(attributes)) {
      keptHere.push_back(folder);  // a link to elsewhere, or a file of that name
      continue;
    }
    if (RemoveDirectoryA(folder.c_str())) {
      removed.push_back(folder);
      considerParentOf(folder);
    } else if (GetLastError() == ERROR_DIR_NOT_EMPTY) {
      keptHere.push_back(folder);
    } else if (!isGone(GetLastError())) {
      error = GetLastError();
    }
  }
  for (const std::string& folder : keptHere) {
    if (holdsMoreThan(folder, keptHere)) kept.push_back(folder);
  }
  return error;
}

DWORD deleteKeyTree(HKEY root, const std::string& subkey) {
  HKEY key;
  LONG status = RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key);
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return static_cast<DWORD>(status);
  // Names first, deletions afterwards: enumerating while deleting skips keys.
  std::vector<std::string> children;
  char name[256];  // the longest key name is 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::string& child : children) {
    if (DWORD error = deleteKeyTree(root, subkey + "\\" + child)) return error;
  }
  status = RegDeleteKeyA(root, subkey.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS
                                                                   : static_cast<DWORD>(status);
}

void deleteEmptyParentKeys(const std::string& subkey, const std::string& highest) {
  for (std::string level = parentDirectory(subkey); level.size() >= highest.size() && !level.empty();
       level = parentDirectory(level)) {
    if (!isEmptyKey(level) || RegDeleteKeyA(HKEY_LOCAL_MACHINE, level.c_str()) != ERROR_SUCCESS) break;
  }
}

DWORD deleteRegTreeEvent(const std::string& subkey) {
  if (DWORD error = deleteKeyTree(HKEY_LOCAL_MACHINE, subkey)) return error;
  // The level right below "Software", which itself stays.
  const size_t second = findBackslash(subkey);
  if (second != std::string::npos) deleteEmptyParentKeys(subkey, subkey.substr(0, findBackslash(subkey, second + 1)));
  return ERROR_SUCCESS;
}
