#include "uninstall_event_rules.h"

#include <vector>

#include "text_format.h"
#include "uninstall_commands.h"

EventKind eventKind(const std::string& command) {
  if (command == kDeleteFile) return EventKind::DeleteFile;
  if (command == kDeleteEmptyDirs) return EventKind::DeleteEmptyDirs;
  if (command == kDeleteRegTree) return EventKind::DeleteRegTree;
  return EventKind::Unknown;
}

std::string machineSoftwareSubkey(const std::string& key) {
  const std::vector<std::string> levels = pathLevels(key);
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
      return installablePathProblem(parameter, PathKind::File) == PathProblem::None;
    case EventKind::DeleteEmptyDirs:
      return installablePathProblem(parameter, PathKind::Folder) == PathProblem::None;
    case EventKind::DeleteRegTree:
      return !machineSoftwareSubkey(parameter).empty();
    case EventKind::Unknown:
      break;
  }
  return false;
}
