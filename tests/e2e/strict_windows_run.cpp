#include "strict_windows_run.h"

#include <windows.h>

#include "host_command.h"
#include "scenario_check.h"
#include "shared_state.h"

StrictWindows::StrictWindows(ScenarioRun& run, const char* behaviours) {
  const std::string state = run.outputPath("strict_windows_state.txt");
  DeleteFileA(state.c_str());
  openSharedState(state);
  // The programs inherit the environment, and pass it on to those they start.
  SetEnvironmentVariableA(kStrictWindowsVariable, behaviours);
  SetEnvironmentVariableA(kStrictWindowsStateVariable, state.c_str());
  run.runUnderLayer(run.testFile("strict_windows_layer.dll"));
}

std::vector<std::string> StrictWindows::programsRun() const {
  std::vector<std::string> programs;
  for (const StateEntry& entry : stateEntries(kProcessLine)) {
    if (entry.size() == 3) programs.push_back(entry[2]);
  }
  return programs;
}

void makeJunction(const std::string& link, const std::string& target) {
  check(makeLink(link, target), "a junction " + link + " to " + target + " is made");
}
