#include "install_plan.h"

#include <set>

#include "archive_path.h"
#include "payload_resource.h"
#include "product_names.h"
#include "text_format.h"

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

void addSimulator(const InstallJob& job, const std::string& folder, const SimulatorModules& modules,
                  std::vector<InstallStep>& steps) {
  const InstallTexts& texts = job.texts;
  // `kind` names both the archive's folder and the simulator's: "modules" or "aircraft".
  const auto add = [&](const char* kind, const char* name, const std::string* description, bool tree, bool versionAware) {
    InstallStep step;
    step.archivePath = std::string("/fs/") + kind + "/" + name;
    step.destination = folder + kind + "\\" + name;
    step.tree = tree;
    step.versionAware = versionAware;
    step.logged = description != nullptr;
    if (description) step.description = *description;
    step.folder = folder;
    steps.push_back(step);
  };
  const auto module = [&](const char* name, const std::string* description, bool versionAware) {
    add("modules", name, description, false, versionAware);
  };
  const auto modelSet = [&](const char* name, const std::string& description) {
    add("aircraft", name, &description, true, false);
  };
  module(modules.transponder, &texts.transponder, false);
  // Other add-ons share this module: it replaces only an older copy, and the
  // uninstaller is never told to delete it.
  module(kSharedModule, nullptr, true);
  if (job.installProgramFiles) module(modules.mainModule, &texts.mainModule, false);
  if (modules.autoJoin) module(modules.autoJoin, &texts.autoJoin, false);
  // A broken default model set ends the run too: carrying on would let a good
  // Marlin tree report the whole installation as a success.
  modelSet("kestrel", texts.defaultModels);
  modelSet("marlin", texts.marlinModels);
}

// A simulator's folder as the registry gave it, with a backslash at its end.
std::string folderOf(const std::string& registered) {
  std::string folder = registered;
  ensureTrailingBackslash(folder);
  return folder;
}

// The steps with each destination once: the first step that writes it.
std::vector<InstallStep> withoutRepeatedDestinations(std::vector<InstallStep> steps) {
  std::set<std::string> destinations;
  std::vector<InstallStep> unique;
  for (InstallStep& step : steps) {
    if (destinations.insert(asciiLowerCase(step.destination)).second) unique.push_back(std::move(step));
  }
  return unique;
}

// The identity of an existing folder: its volume and its number there.
bool folderIdentity(const std::string& folder, BY_HANDLE_FILE_INFORMATION& identity) {
  const HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool read = GetFileInformationByHandle(handle, &identity) != FALSE;
  CloseHandle(handle);
  return read;
}

}  // namespace

bool isSameFolder(const std::string& a, const std::string& b) {
  if (equalsIgnoringCase(folderOf(a), folderOf(b))) return true;
  BY_HANDLE_FILE_INFORMATION first, second;
  return folderIdentity(a, first) && folderIdentity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

std::vector<InstallStep> installSteps(const InstallJob& job) {
  std::vector<InstallStep> steps;
  InstallStep program;
  program.logged = true;
  program.description = job.texts.programFiles;
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
    program.archivePath = std::string("/ks/") + kUninstallerFile;
    program.destination = job.programDir + kUninstallerFile;
    program.directoryToLog = job.programDir;
    steps.push_back(program);
  }
  // One folder registered for both simulators is written under one name.
  const std::string fs2004Folder = folderOf(job.fs2004Dir);
  const bool oneFolder = job.installFs2002 && job.installFs2004 && isSameFolder(job.fs2002Dir, job.fs2004Dir);
  if (job.installFs2002) addSimulator(job, oneFolder ? fs2004Folder : folderOf(job.fs2002Dir), kFs2002Modules, steps);
  if (job.installFs2004) addSimulator(job, fs2004Folder, kFs2004Modules, steps);
  return withoutRepeatedDestinations(std::move(steps));
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
