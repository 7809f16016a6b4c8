#include "change_planner.h"

#include <algorithm>

#include "file_placement.h"
#include "text_format.h"

bool ChangePlanner::addSteps(const std::vector<InstallStep>& steps, HMODULE payloadModule, Failure& failure) {
  bool added = true;
  const bool read = forEachInstalledFile(steps, payloadModule, [&](const InstallStep& step, const std::string& path,
                                                                   const Escort::CatalogEntry& entry) {
    added = added && addFile(path, entry.uncompressedSize, step.folder, failure);
  });
  if (!read) failure = {"", 0, FailureSite::PayloadNotOpened};
  return read && added;
}

bool ChangePlanner::addFile(const std::string& path, uint32_t size, const std::string& destination,
                            Failure& failure) {
  if (!files.insert(asciiLowerCase(path)).second) {
    failure = {path, ERROR_ALREADY_EXISTS, FailureSite::DestinationOverlap};
    return false;
  }
  PlannedFile file;
  file.path = path;
  file.size = size;
  file.folder = destinationIndex(destination);
  if (folderOfExists(path)) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    // A folder where the file goes is left to the worker, which fails on it
    // before it changes anything there.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    if (attributes != INVALID_FILE_ATTRIBUTES) file.keptCopy = Escort::newKeptCopyPath(path);
  }
  plan_.files.push_back(std::move(file));
  return true;
}

bool ChangePlanner::folderOfExists(const std::string& path) {
  std::vector<std::string> toMake;  // the deepest first
  std::string level = parentDirectory(path);
  // Down to a folder that is known or exists; a drive's root ("C:") always ends the walk.
  for (; level.size() > 2; level = parentDirectory(level)) {
    const std::string key = asciiLowerCase(level);
    if (existing.count(key)) break;
    if (missing.count(key)) break;
    if (GetFileAttributesA(level.c_str()) != INVALID_FILE_ATTRIBUTES) {
      existing.insert(key);
      break;
    }
    toMake.push_back(level);
  }
  for (auto made = toMake.rbegin(); made != toMake.rend(); ++made) {
    missing.insert(asciiLowerCase(*made));
    plan_.folders.push_back(*made);
  }
  return toMake.empty() && !missing.count(asciiLowerCase(parentDirectory(path)));
}

size_t ChangePlanner::destinationIndex(const std::string& destination) {
  const auto found = std::find_if(plan_.destinations.begin(), plan_.destinations.end(),
                                  [&](const std::string& known) { return equalsIgnoringCase(known, destination); });
  if (found != plan_.destinations.end()) return found - plan_.destinations.begin();
  plan_.destinations.push_back(destination);
  return plan_.destinations.size() - 1;
}
