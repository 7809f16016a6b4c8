#pragma once
// The state that an uninstallation must give back: every file and directory of
// drive C (the Start menu among them), of the small drive E: and the
// removable drive X: where there are such, and every key and value below
// HKEY_LOCAL_MACHINE\Software, in the registry view of this build.
#include <map>
#include <string>
#include <vector>

struct MachineSnapshot {
  // "C:\\...\\file" -> size and last write time; "C:\\...\\dir\\" -> "".
  std::map<std::string, std::string> files;
  // "Software\\...\\key\\" -> ""; "Software\\...\\key\\:value" -> type and bytes.
  std::map<std::string, std::string> registry;
};

MachineSnapshot takeMachineSnapshot();

// One line for each entry that was added ("+"), removed ("-") or changed ("~")
// from `before` to `after`, except those for which `expected` (when given) says yes.
std::vector<std::string> snapshotDifferences(const MachineSnapshot& before, const MachineSnapshot& after,
                                             bool (*expected)(const std::string& entry) = nullptr);

// Fails the scenario, listing every difference, unless the machine now is as
// `before` but for what `expected` (when given) says yes to.
void checkSameMachine(const MachineSnapshot& before, bool (*expected)(const std::string& entry) = nullptr);
// The shared module fsuipc.dll in a simulator's modules\, which an uninstall leaves.
bool isSharedModule(const std::string& entry);
