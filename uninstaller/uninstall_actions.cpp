#include "uninstall_actions.h"

namespace {

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

std::string withoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Empties and removes `directory` as far as it is ours; true when it is gone.
// A failure to remove something stores its error and leaves the rest to go on.
bool removeEmptyTree(const std::string& directory, std::vector<std::string>& kept, DWORD& error) {
  bool holdsSomething = false, emptied = true;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const bool plainDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                  !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
      if (!plainDirectory)
        holdsSomething = true;
      else if (!removeEmptyTree(directory + "\\" + name, kept, error))
        emptied = false;
    } while (FindNextFileA(search, &found));
    FindClose(search);
  } else if (GetLastError() == ERROR_PATH_NOT_FOUND) {
    return true;
  }  // any other refusal to list it leaves RemoveDirectoryA to say why

  if (holdsSomething) kept.push_back(directory);
  if (holdsSomething || !emptied) return false;
  if (RemoveDirectoryA(directory.c_str())) return true;
  const DWORD removeError = GetLastError();
  if (isGone(removeError)) return true;
  if (removeError == ERROR_DIR_NOT_EMPTY)  // something arrived meanwhile
    kept.push_back(directory);
  else
    error = removeError;
  return false;
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

DWORD deleteEmptyDirsEvent(const std::string& directory, std::vector<std::string>& kept) {
  const std::string path = withoutTrailingBackslash(directory);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return isGone(error) ? ERROR_SUCCESS : error;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    kept.push_back(path);
    return ERROR_SUCCESS;
  }
  DWORD error = ERROR_SUCCESS;
  removeEmptyTree(path, kept, error);
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

DWORD deleteRegTreeEvent(const std::string& subkey) {
  if (DWORD error = deleteKeyTree(HKEY_LOCAL_MACHINE, subkey)) return error;
  // "Software" itself has no '\', so the walk stops below it.
  std::string parent = subkey;
  for (size_t cut; (cut = parent.rfind('\\')) != std::string::npos;) {
    parent.erase(cut);
    if (parent.find('\\') == std::string::npos || !isEmptyKey(parent)) break;
    if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, parent.c_str()) != ERROR_SUCCESS) break;
  }
  return ERROR_SUCCESS;
}
