#include "machine_snapshot.h"

#include <windows.h>

#include <cstdio>

#include "registry_view.h"
#include "scenario.h"

namespace {

void collectFiles(const std::string& directory, std::map<std::string, std::string>& files) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((directory + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = directory + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link to a directory elsewhere (Wine maps the user's folders onto the
      // host) is an entry of its own, not a tree to walk.
      files[path + "\\"] = "";
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) collectFiles(path + "\\", files);
      continue;
    }
    // Size and time tell a changed file; reading the contents of the whole
    // drive twice per scenario would cost more than the scenario.
    char state[64];
    std::snprintf(state, sizeof state, "%lu:%lu %08lx%08lx", static_cast<unsigned long>(entry.nFileSizeHigh),
                  static_cast<unsigned long>(entry.nFileSizeLow),
                  static_cast<unsigned long>(entry.ftLastWriteTime.dwHighDateTime),
                  static_cast<unsigned long>(entry.ftLastWriteTime.dwLowDateTime));
    files[path] = state;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
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
  // E: is the small drive of the scenarios that fill one; absent, it adds nothing.
  for (const char* drive : {"C:\\", "E:\\"}) collectFiles(drive, snapshot.files);
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
