#pragma once
// The state that the layer shares between the processes it is loaded into
// (the setup program, the uninstaller and its working copy): a text file, a
// line for each entry and a tab between its fields (strict_windows_settings.h),
// changed by one process at a time. Without a file, the entries stay in this
// process.
#include <functional>
#include <string>
#include <vector>

using StateEntry = std::vector<std::string>;  // the kind first

void openSharedState(const std::string& file);
// The entries of this kind, with the kind.
std::vector<StateEntry> stateEntries(const std::string& kind);
void addStateEntry(const StateEntry& entry);
// Drops every entry for which `drop` says yes.
void dropStateEntries(const std::function<bool(const StateEntry&)>& drop);
