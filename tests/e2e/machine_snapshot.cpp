#include "machine_snapshot.h"

#include <windows.h>

#include <cstdio>

#include "registry_view.h"
#include "scenario.h"
#include "tree_walk.h"

namespace {

void collectFiles(const std::string& drive, std::map<std::string, std::string>& files) {
  walkTree(drive, [&](const std::string& relative, const WIN32_FIND_DATAA& found) {
    if (relative.back() == '\\') {
      files[drive + relative] = "";
      return;
    }
    // Size and time tell a changed file; reading the contents of the whole
    // drive twice per scenario would cost more than the scenario.
    char state[64];
    std::snprintf(state, sizeof state, "%lu:%lu %08lx%08lx", static_cast<unsigned long>(found.nFileSizeHigh),
                  static_cast<unsigned long>(found.nFileSizeLow),
                  static_cast<unsigned long>(found.ftLastWriteTime.dwHighDateTime),
                  static_cast<unsigned long>(found.ftLastWriteTime.dwLowDateTime));
    files[drive + relative] = state;
  });
}

void compare(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
             bool (*expected)(const std::string&), std::vector<std::string>& differences) {
  auto isExpected = [expected](const std::string& entry) { return expected && expected(entry); };
  for (const auto& [entry, state] : before) {
    auto found = after.find(entry);
    if (isExpected(entry)) continue;
    if (found == after.end())
      differences.push_back("- " + entry);
    else if (found->second != state)
      differences.push_back("~ " + entry);
  }
  for (const auto& [entry, state] : after) {
    if (!before.count(entry) && !isExpected(entry)) differences.push_back("+ " + entry);
  }
}

}  // namespace

MachineSnapshot takeMachineSnapshot() {
  MachineSnapshot snapshot;
  // E: is the small drive of the scenarios that fill one, X: the drive that
  // some unplug; absent, they add nothing.
  for (const char* drive : {"C:\\", "E:\\", "X:\\"}) collectFiles(drive, snapshot.files);
  for (const auto& [key, values] : machineTree("Software")) {
    snapshot.registry[key + "\\"] = "";
    for (const auto& [name, value] : values)
      snapshot.registry[key + "\\:" + name] = std::to_string(value.type) + ":" + value.data;
  }
  return snapshot;
}

std::vector<std::string> snapshotDifferences(const MachineSnapshot& before, const MachineSnapshot& after,
                                             bool (*expected)(const std::string& entry)) {
  std::vector<std::string> differences;
  compare(before.files, after.files, expected, differences);
  compare(before.registry, after.registry, expected, differences);
  return differences;
}

void checkSameMachine(const MachineSnapshot& before, bool (*expected)(const std::string& entry)) {
  std::string listed;
  for (const std::string& difference : snapshotDifferences(before, takeMachineSnapshot(), expected))
    listed += "\n  " + difference;
  check(listed.empty(), "the machine is as it was before, but for:" + listed);
}

bool isSharedModule(const std::string& entry) {
  const std::string name = "\\modules\\fsuipc.dll";
  return entry.size() > name.size() && entry.compare(entry.size() - name.size(), name.size(), name) == 0;
}
