#include "file_holders.h"

#include "file_placement.h"
#include "programs_holding.h"

std::vector<HeldFile> findHeldFiles(const ChangePlan& plan) {
  std::vector<HeldFile> held;
  for (const PlannedFile& file : plan.files) {
    if (!file.keptCopy.empty() && Escort::isHeldByAnotherProgram(file.path))
      held.push_back({file.path, programsHolding(file.path)});
  }
  return held;
}
