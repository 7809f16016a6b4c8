#pragma once
// What a run of the uninstaller left undone, for its final report.
#include <string>
#include <utility>
#include <vector>

struct FailedItem {
  FailedItem() = default;
  FailedItem(std::string item, unsigned long systemError) : item(std::move(item)), systemError(systemError) {}

  std::string item;               // the file, directory or key
  unsigned long systemError = 0;  // the Windows error code of the failing call
  std::string reason;             // what Windows says of it, when it was asked
};

struct UninstallSummary {
  // Carried out but not removed (a file in use): the registration stays so
  // that a later run can finish the job.
  std::vector<FailedItem> failed;
  // Never carried out, because no installation of ours asks for them: the
  // command word and the parameter of each.
  std::vector<std::string> refused;
  // Directories that still hold files that were not installed, left with
  // their parents.
  std::vector<std::string> kept;

  bool complete() const { return failed.empty(); }
};
