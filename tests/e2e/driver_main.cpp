// The UI driver: runs one scenario against the real setup program.
//   ui_driver SCENARIO SETUP_PROGRAM SCREENSHOT_DIRECTORY [PAYLOAD_TREE]
//   ui_driver --list
// PAYLOAD_TREE is the tree the program carries (ks/ and fs/), which the
// installation scenarios compare the installed files with.
// Paths may be Unix paths; they are reached through Wine's drive Z:. On a
// failure it lists every visible window of the program, ends it and exits 1.
#include <windows.h>

#include <iostream>
#include <string>

#include "scenario.h"
#include "scenario_run.h"

namespace {

std::string windowsPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

// The probes and the test files lie beside the driver.
std::string driverDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--list") {
    for (const std::string& name : scenarioNames()) std::cout << name << "\n";
    return 0;
  }
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: ui_driver SCENARIO SETUP_PROGRAM SCREENSHOT_DIRECTORY [PAYLOAD_TREE] | --list\n";
    return 2;
  }
  const std::string name = argv[1];
  const ScenarioBody body = findScenario(name);
  if (body == nullptr) {
    std::cerr << "no scenario " << name << "; ui_driver --list names them\n";
    return 2;
  }
  ScenarioRun run(windowsPath(argv[2]), windowsPath(argv[3]), driverDirectory(),
                  argc == 5 ? windowsPath(argv[4]) : std::string());
  try {
    body(run);
    if (run.reportAndEndRunning(std::cout) > 0) throw ScenarioFailure("the scenario left the program running");
    for (const std::string& unchecked : run.uncheckedExits())
      throw ScenarioFailure("the scenario never checked the exit code of " + unchecked);
  } catch (const ScenarioFailure& failure) {
    std::cout << "Scenario " << name << " FAILED: " << failure.what() << std::endl;
    run.reportAndEndRunning(std::cout);
    return 1;
  }
  std::cout << "Scenario " << name << " passed" << std::endl;
  return 0;
}
