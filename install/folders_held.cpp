#include "folders_held.h"

#include <map>

#include "text_format.h"
#include "unfollowed_level.h"

FoldersHeld::~FoldersHeld() {
  for (HANDLE folder : held) CloseHandle(folder);
}

std::string FoldersHeld::hold(const ChangePlan& plan) {
  // Each level looked at once: whether it was there. Below a level that is
  // not there, nothing is, and the run makes every folder itself.
  std::map<std::string, bool> there;
  for (const PlannedFile& file : plan.files) {
    const std::string& destination = plan.destinations[file.folder];
    for (size_t end = findBackslash(file.path, destination.size()); end != std::string::npos;
         end = findBackslash(file.path, end + 1)) {
      const std::string level = file.path.substr(0, end);
      const auto looked = there.emplace(asciiLowerCase(level), false);
      if (!looked.second) {
        if (!looked.first->second) break;
        continue;
      }
      const HANDLE folder = holdUnfollowed(level);
      if (folder == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) break;
        // There but not to be opened: the levels below it are still looked at.
        looked.first->second = true;
        continue;
      }
      looked.first->second = true;
      held.push_back(folder);
      if (isLink(level)) return level;
    }
  }
  return std::string();
}
