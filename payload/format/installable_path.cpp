#include "installable_path.h"

#include <vector>

#include "text_format.h"
#include "windows_file_name.h"

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool isLocalAbsolutePath(const std::string& path) {
  if (path.size() < 4 || !isDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string below = path.substr(3);
  removeTrailingBackslash(below);  // directories are logged with one
  for (const std::string& level : pathLevels(below)) {
    if (!windowsNameProblem(level).empty()) return false;
  }
  return true;
}

PathProblem installablePathProblem(const std::string& path, PathKind kind) {
  if (!isLocalAbsolutePath(path)) return PathProblem::NotOnLocalDrive;
  if (kind == PathKind::Folder) {
    const size_t length = endsWithBackslash(path) ? path.size() - 1 : path.size();
    return length <= kMaxDirectoryPath ? PathProblem::None : PathProblem::TooLong;
  }
  if (endsWithBackslash(path)) return PathProblem::NotOnLocalDrive;  // a folder's name, not a file's
  const size_t folderLength = lastBackslash(path);
  const bool fits = path.size() <= kMaxFilePath && folderLength + 1 + kLongestNameBesideAFile <= kMaxFilePath;
  return fits ? PathProblem::None : PathProblem::TooLong;
}
