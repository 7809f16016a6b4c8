#include "installable_path.h"

#include <cstring>
#include <vector>

#include "text_format.h"

namespace {

// Windows drops trailing dots and blanks from a name, so such a level becomes
// "", "." or "..".
bool isDotsAndBlanks(const std::string& level) { return level.find_first_not_of(". ") == std::string::npos; }

bool isAllowedName(const std::string& level) {
  if (level.empty() || isDotsAndBlanks(level)) return false;
  for (unsigned char c : level) {
    if (c < 0x20 || std::strchr("<>:\"/|?*", c)) return false;
  }
  return true;
}

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool isLocalAbsolutePath(const std::string& path) {
  if (path.size() < 4 || !isDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string below = path.substr(3);
  if (below.back() == '\\') below.pop_back();  // directories are logged with one
  for (const std::string& level : pathLevels(below)) {
    if (!isAllowedName(level)) return false;
  }
  return true;
}

PathProblem installablePathProblem(const std::string& path, PathKind kind) {
  if (!isLocalAbsolutePath(path)) return PathProblem::NotOnLocalDrive;
  if (kind == PathKind::Folder) {
    const size_t length = path.back() == '\\' ? path.size() - 1 : path.size();
    return length <= kMaxDirectoryPath ? PathProblem::None : PathProblem::TooLong;
  }
  if (path.back() == '\\') return PathProblem::NotOnLocalDrive;  // a folder's name, not a file's
  const size_t folderLength = path.rfind('\\');
  const bool fits = path.size() <= kMaxFilePath && folderLength + 1 + kLongestNameBesideAFile <= kMaxFilePath;
  return fits ? PathProblem::None : PathProblem::TooLong;
}
