#pragma once
// A scenario under the strict-Windows layer (tests/strict_windows): from the
// moment this is made, every program that the scenario starts, and every
// program that one starts in turn (the uninstaller's working copy), meets
// Windows' rules where Wine's differ, in the behaviours chosen. The layer's
// shared state lies beside the scenario's screenshots. Scenarios that use it
// are named strict_windows_..., so that the test command's output lists them.
#include <string>
#include <vector>

#include "scenario_run.h"
#include "strict_windows_settings.h"

class StrictWindows {
 public:
  // `behaviours` as strict_windows_settings.h names them, separated by commas.
  explicit StrictWindows(ScenarioRun& run, const char* behaviours = kAllBehaviours);
  // The program files of the programs that ran under the layer, in the order they started.
  std::vector<std::string> programsRun() const;
};

// A junction at `link` (which must not exist) leading to the folder
// `target`, as a standard user can put one in a folder of theirs: under Wine a
// symbolic link, which the layer reports as Windows reports a junction.
void makeJunction(const std::string& link, const std::string& target);
