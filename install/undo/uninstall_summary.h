#pragma once
// What a run of the uninstaller left undone, for its final report.
#include <string>
#include <vector>

#include "failure.h"

struct UninstallSummary {
  // Carried out but not removed (a file in use, a drive that is not there):
  // the registration stays so that a later run can finish the job.
  std::vector<Failure> failed;
  // Never carried out, because no installation of ours asks for them: the
  // command word and the parameter of each.
  std::vector<std::string> refused;
  // Directories that still hold files that were not installed, left with
  // their parents.
  std::vector<std::string> kept;
  // Files that go when Windows next restarts (being deleted while another
  // program has them open, or held so that they could only be renamed aside).
  std::vector<std::string> atRestart;
  // Links that stand where the installation made or filled a folder: nothing
  // was done through them, and they are left as they are.
  std::vector<std::string> links;

  bool complete() const { return failed.empty(); }
};
