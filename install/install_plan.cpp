#include "install_plan.h"

#include "archive_path.h"
#include "payload_resource.h"
#include "resource_ids.h"
#include "text_format.h"
#include "uninstall_log.h"

namespace {

// The modules of one simulator version; Flight Simulator 2002 has no auto-join.
struct SimulatorModules {
  const char* transponder;
  const char* mainModule;
  const char* autoJoin;
};
const SimulatorModules kFs2002Modules = {"kstrans8.dll", "ksmod8.dll", nullptr};
const SimulatorModules kFs2004Modules = {"kstrans9.dll", "ksmod9.dll", "ksmpjoin9.dll"};
const char kSharedModule[] = "fsuipc.dll";

void addSimulator(const InstallJob& job, const std::string& simulatorFolder, const SimulatorModules& modules,
                  std::vector<InstallStep>& steps) {
  std::string folder = simulatorFolder;  // the registry's text, with or without a backslash
  ensureTrailingBackslash(folder);
  // `kind` names both the archive's folder and the simulator's: "modules" or "aircraft".
  const auto add = [&](const char* kind, const char* name, UINT descriptionId, bool tree, bool versionAware) {
    InstallStep step;
    step.archivePath = std::string("/fs/") + kind + "/" + name;
    step.destination = folder + kind + "\\" + name;
    step.tree = tree;
    step.versionAware = versionAware;
    step.descriptionId = descriptionId;
    step.folder = folder;
    steps.push_back(step);
  };
  const auto module = [&](const char* name, UINT descriptionId, bool versionAware) {
    add("modules", name, descriptionId, false, versionAware);
  };
  const auto modelSet = [&](const char* name, UINT descriptionId) { add("aircraft", name, descriptionId, true, false); };
  module(modules.transponder, IDS_UNINSTALL_TRANSPONDER_DLL, false);
  // Other add-ons share this module: it replaces only an older copy, and the
  // uninstaller is never told to delete it.
  module(kSharedModule, 0, true);
  if (job.installProgramFiles) module(modules.mainModule, IDS_UNINSTALL_MODULE_DLL, false);
  if (modules.autoJoin) module(modules.autoJoin, IDS_UNINSTALL_AUTO_JOIN_DLL, false);
  // A broken default model set ends the run too: carrying on would let a good
  // Marlin tree report the whole installation as a success.
  modelSet("kestrel", IDS_UNINSTALL_DEFAULT_MODELS);
  modelSet("marlin", IDS_UNINSTALL_MARLIN_MODELS);
}

}  // namespace

std::vector<InstallStep> installSteps(const InstallJob& job) {
  std::vector<InstallStep> steps;
  InstallStep program;
  program.descriptionId = IDS_UNINSTALL_PROGRAM_FILES;
  program.folder = job.programDir;
  program.programFiles = true;
  if (job.installProgramFiles) {
    program.archivePath = "/ks";
    program.destination = job.programDir;
    program.tree = true;
    steps.push_back(program);
  } else if (job.installFs2002 || job.installFs2004) {
    // A simulator computer gets no program files, yet its registration names
    // the uninstaller in the program directory: without it the simulator
    // files could never be removed, and Windows would list an uninstaller
    // that is not there. It is logged as the program tree would be.
    program.archivePath = std::string("/ks/") + Escort::kUninstallerFile;
    program.destination = job.programDir + Escort::kUninstallerFile;
    program.directoryToLog = job.programDir;
    steps.push_back(program);
  }
  if (job.installFs2002) addSimulator(job, job.fs2002Dir, kFs2002Modules, steps);
  if (job.installFs2004) addSimulator(job, job.fs2004Dir, kFs2004Modules, steps);
  return steps;
}

bool forEachInstalledFile(const std::vector<InstallStep>& steps, HMODULE payloadModule, const InstalledFileVisit& visit) {
  Escort::PayloadResource resource;
  Escort::CatalogHeader header;
  Escort::Catalog catalog;
  if (Escort::loadPayloadResource(payloadModule, 0, resource) ||
      Escort::readCatalog(resource.data, resource.size, header, catalog) != Escort::CatalogReadResult::Ok)
    return false;
  for (const InstallStep& step : steps) {
    const std::string key = Escort::normalizeArchivePath(step.archivePath);
    if (step.tree) {
      std::string base = step.destination;
      ensureTrailingBackslash(base);
      Escort::forEachInTree(catalog, key, [&](const std::string& entryKey, const Escort::CatalogEntry& entry) {
        visit(step, base + Escort::pathInTree(entryKey, key), entry);
        return true;
      });
    } else if (auto entry = catalog.find(key); entry != catalog.end()) {
      visit(step, step.destination, entry->second);
    }
  }
  return true;
}
