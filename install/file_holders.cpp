#include "file_holders.h"

#include "file_placement.h"
#include "programs_holding.h"

std::vector<HeldFile> findHeldFiles(const std::vector<InstallStep>& steps, HMODULE payloadModule) {
  std::vector<HeldFile> held;
  forEachInstalledFile(steps, payloadModule, [&held](const InstallStep&, const std::string& destination,
                                                    const Escort::CatalogEntry&) {
    if (Escort::isHeldByAnotherProgram(destination)) held.push_back({destination, programsHolding(destination)});
  });
  return held;
}
