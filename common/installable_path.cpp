#include "installable_path.h"

#include <cstring>
#include <vector>

#include "text_format.h"

namespace {

// Windows XP..11 drop trailing dots and blanks from a name (MSDN, Naming
// Files, Paths, and Namespaces), so such a level becomes "", "." or "..".
bool isDotsAndBlanks(const std::string& level) { return level.find_first_not_of(". ") == std::string::npos; }

// The second byte of a two-byte character may be '|' and is no such character.
bool isAllowedName(const std::string& level) {
  if (level.empty() || isDotsAndBlanks(level)) return false;
  for (size_t at = 0; at < level.size(); at = nextCharacter(level, at)) {
    const unsigned char c = static_cast<unsigned char>(level[at]);
    if (c < 0x20 || std::strchr("<>:\"/|?*", c)) return false;
  }
  return true;
}

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool isLocalAbsolutePath(const std::string& path) {
  if (path.size() < 4 || !isDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string below = path.substr(3);
  removeTrailingBackslash(below);  // directories are logged with one
  for (const std::string& level : pathLevels(below)) {
    if (!isAllowedName(level)) return false;
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
