#pragma once
// Whether the places a run is to write to can take it, checked before
// anything changes with the rules the journal's reader applies
// (installable_path.h): a run records only what a later run can settle.
#include <string>

#include "change_plan.h"

enum class DestinationTrouble {
  None,
  DriveMissing,  // the folder's drive is not there (unplugged, a network drive not connected)
  NotLocal,      // not a folder on a drive of this computer (a network path, "\\?\")
  TooLong,       // a path the run would write is longer than Windows takes
  Link,          // a link to another place stands where the run writes into a folder
};

struct DestinationProblem {
  std::string folder;  // as the user knows it: the program directory, a simulator's folder
  DestinationTrouble trouble = DestinationTrouble::None;
  std::string path;    // TooLong: the longest path the run would write there; Link: the link
};

// What keeps `folder` (with or without its trailing backslash) from taking
// an installation at all.
DestinationTrouble folderTrouble(const std::string& folder);

// The first of the plan's destinations that cannot take what goes there.
bool findDestinationProblem(const ChangePlan& plan, DestinationProblem& problem);
