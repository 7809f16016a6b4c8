#include "destination_check.h"

#include <windows.h>

#include "installable_path.h"

DestinationTrouble folderTrouble(const std::string& folder) {
  if (!isLocalAbsolutePath(folder)) return DestinationTrouble::NotLocal;
  const std::string root = folder.substr(0, 3);
  if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR || GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES)
    return DestinationTrouble::DriveMissing;
  if (installablePathProblem(folder, PathKind::Folder) != PathProblem::None) return DestinationTrouble::TooLong;
  return DestinationTrouble::None;
}

namespace {

// The longest of a destination's paths that Windows would refuse.
void noteTooLong(const std::string& path, PathKind kind, size_t destination, std::vector<std::string>& longest) {
  if (installablePathProblem(path, kind) != PathProblem::TooLong) return;
  if (path.size() > longest[destination].size()) longest[destination] = path;
}

}  // namespace

bool findDestinationProblem(const ChangePlan& plan, DestinationProblem& problem) {
  // A folder too long itself is named by the longest path the run would write
  // below it, as any other destination whose files would be too long.
  std::vector<std::string> longest(plan.destinations.size());
  for (size_t destination = 0; destination < plan.destinations.size(); ++destination) {
    const std::string& folder = plan.destinations[destination];
    const DestinationTrouble trouble = folderTrouble(folder);
    if (trouble == DestinationTrouble::TooLong) {
      longest[destination] = folder;
    } else if (trouble != DestinationTrouble::None) {
      problem = {folder, trouble, std::string()};
      return true;
    }
  }
  for (const PlannedFile& file : plan.files) noteTooLong(file.path, PathKind::File, file.folder, longest);
  for (size_t destination = 0; destination < longest.size(); ++destination) {
    if (!longest[destination].empty()) {
      problem = {plan.destinations[destination], DestinationTrouble::TooLong, longest[destination]};
      return true;
    }
  }
  return false;
}
