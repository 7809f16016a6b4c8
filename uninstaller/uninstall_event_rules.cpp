#include "uninstall_event_rules.h"

#include <cstring>
#include <vector>

#include "text_format.h"
#include "uninstall_commands.h"

namespace {

std::vector<std::string> splitLevels(const std::string& text) {
  std::vector<std::string> levels;
  size_t start = 0;
  for (size_t end; (end = findBackslash(text, start)) != std::string::npos; start = end + 1)
    levels.push_back(text.substr(start, end - start));
  levels.push_back(text.substr(start));
  return levels;
}

// Windows drops trailing dots and blanks from a name, so such a level becomes
// "", "." or "..".
bool isDotsAndBlanks(const std::string& level) {
  return level.find_first_not_of(". ") == std::string::npos;
}

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

EventKind eventKind(const std::string& command) {
  if (command == kDeleteFile) return EventKind::DeleteFile;
  if (command == kDeleteEmptyDirs) return EventKind::DeleteEmptyDirs;
  if (command == kDeleteRegTree) return EventKind::DeleteRegTree;
  return EventKind::Unknown;
}

bool isLocalAbsolutePath(const std::string& path) {
  if (path.size() < 4 || !isDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string below = path.substr(3);
  removeTrailingBackslash(below);  // directories are logged with one
  for (const std::string& level : splitLevels(below)) {
    if (!isAllowedName(level)) return false;
  }
  return true;
}

std::string machineSoftwareSubkey(const std::string& key) {
  const std::vector<std::string> levels = splitLevels(key);
  if (levels.size() < 3 || !equalsIgnoringCase(levels[0], "HKEY_LOCAL_MACHINE") ||
      !equalsIgnoringCase(levels[1], "Software"))
    return std::string();
  for (const std::string& level : levels) {
    if (level.empty() || level == "." || level == "..") return std::string();
  }
  return key.substr(levels[0].size() + 1);
}

bool isAllowedEvent(const std::string& command, const std::string& parameter) {
  switch (eventKind(command)) {
    case EventKind::DeleteFile:
      return isLocalAbsolutePath(parameter) && !endsWithBackslash(parameter);
    case EventKind::DeleteEmptyDirs:
      return isLocalAbsolutePath(parameter);
    case EventKind::DeleteRegTree:
      return !machineSoftwareSubkey(parameter).empty();
    case EventKind::Unknown:
      break;
  }
  return false;
}
