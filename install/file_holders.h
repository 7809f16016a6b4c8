#pragma once
// Which of an installation's files another program holds, so that they
// cannot be replaced (a running simulator's modules), and which programs
// those are, for the message that asks the user to close them.
#include <string>
#include <vector>

#include "change_plan.h"

struct HeldFile {
  std::string path;
  // The programs that hold it, as Windows names them (from Vista on); none
  // where Windows cannot say.
  std::vector<std::string> programs;
};

// The files that the plan replaces and that another program holds now.
std::vector<HeldFile> findHeldFiles(const ChangePlan& plan);
