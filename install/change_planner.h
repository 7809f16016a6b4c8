#pragma once
// Works out the plan of a run (change_plan.h) from its steps, the payload's
// catalog and the file system as it stands, reading and changing nothing
// else: whether each file is new or takes the place of an earlier one (whose
// kept copy's name it chooses), and which folders above the files are
// missing, up to one that exists (a drive's root is never one to make).
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "change_plan.h"
#include "failure.h"
#include "install_plan.h"

class ChangePlanner {
 public:
  // Every file the steps write. False, with `failure`, when the payload's
  // catalog cannot be read, or when two steps would write one file.
  bool addSteps(const std::vector<InstallStep>& steps, HMODULE payloadModule, Failure& failure);
  // A file the run writes itself (a shortcut), in the folder the user knows
  // as `destination`.
  bool addFile(const std::string& path, uint32_t size, const std::string& destination, Failure& failure);
  // A registry key below HKEY_LOCAL_MACHINE whose state is recorded.
  void addKey(const std::string& subkey) { plan_.keys.push_back(subkey); }

  const ChangePlan& plan() const { return plan_; }

 private:
  // Plans the folders missing above `path`; false when its folder is missing.
  bool folderOfExists(const std::string& path);
  size_t destinationIndex(const std::string& destination);

  ChangePlan plan_;
  std::set<std::string> existing;  // folders seen to exist, in lower case
  std::set<std::string> missing;   // folders planned, in lower case
  std::set<std::string> files;     // files planned, in lower case
};
