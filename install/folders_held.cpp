#include "folders_held.h"

#include <set>

#include "text_format.h"
#include "unfollowed_level.h"

FoldersHeld::~FoldersHeld() {
  for (HANDLE folder : held) CloseHandle(folder);
}

std::string FoldersHeld::hold(const ChangePlan& plan) {
  std::set<std::string> looked;
  for (const PlannedFile& file : plan.files) {
    const std::string& destination = plan.destinations[file.folder];
    for (size_t end = findBackslash(file.path, destination.size()); end != std::string::npos;
         end = findBackslash(file.path, end + 1)) {
      const std::string level = file.path.substr(0, end);
      if (!looked.insert(asciiLowerCase(level)).second) continue;
      const HANDLE folder = holdUnfollowed(level);
      // Not there yet: the run makes it, a plain folder.
      if (folder == INVALID_HANDLE_VALUE) continue;
      held.push_back(folder);
      if (isLink(folder)) return level;
    }
  }
  return std::string();
}
