#include "install_worker.h"

#include <cstdint>
#include <string>

#include "file_extractor.h"
#include "install_job.h"
#include "install_messages.h"
#include "progress_cb.h"
#include "resource_ids.h"
#include "string_helpers.h"
#include "uninstall_commands.h"
#include "uninstall_log.h"

namespace {

const char kSharedModule[] = "fsuipc.dll";
const std::string kUninstallerArchivePath = std::string("/ks/") + Escort::kUninstallerFile;

// The modules of one simulator version; Flight Simulator 2002 has no auto-join.
struct SimulatorModules {
  const char* transponder;
  const char* mainModule;
  const char* autoJoin;
};
const SimulatorModules kFs2002Modules = {"kstrans8.dll", "ksmod8.dll", nullptr};
const SimulatorModules kFs2004Modules = {"kstrans9.dll", "ksmod9.dll", "ksmpjoin9.dll"};

std::string moduleArchivePath(const char* name) { return std::string("/fs/modules/") + name; }

class Installation {
 public:
  Installation(const InstallJob& job, Escort::FileExtractor& extractor)
      : job(job), extractor(extractor) {}

  // Every byte the run will write, from the catalog alone, so that the page's
  // bar has a fixed total before the first file.
  uint32_t measure() const;
  // The program tree (or the uninstaller alone), then each chosen simulator;
  // the first failure ends it.
  int extract();

 private:
  // A simulator computer gets no program files, yet its registration names the
  // uninstaller in the program directory: without it the simulator files could
  // never be removed, and Windows would list an uninstaller that is not there.
  bool uninstallerAlone() const {
    return !job.installProgramFiles && (job.installFs2002 || job.installFs2004);
  }
  int extractUninstaller();
  uint32_t entryBytes(const std::string& archivePath) const;
  uint32_t treeBytes(const char* prefix) const;
  uint32_t simulatorBytes(const SimulatorModules& modules) const;

  int extractSimulator(const std::string& folder, const SimulatorModules& modules);
  int extractModule(const std::string& modulesDir, const char* name, UINT descriptionId);
  int extractTree(const char* prefix, const std::string& destination, UINT descriptionId);

  const InstallJob& job;
  Escort::FileExtractor& extractor;
};

// A missing entry or tree counts 0: the extractor leaves the sizes alone then.
uint32_t Installation::entryBytes(const std::string& archivePath) const {
  uint32_t compressed = 0, uncompressed = 0;
  extractor.entrySize(archivePath.c_str(), &compressed, &uncompressed);
  return uncompressed;
}

uint32_t Installation::treeBytes(const char* prefix) const {
  uint32_t compressed = 0, uncompressed = 0;
  extractor.treeSize(prefix, &compressed, &uncompressed);
  return uncompressed;
}

// Counted once per simulator, as fsuipc.dll and the aircraft are also written
// once into each.
uint32_t Installation::simulatorBytes(const SimulatorModules& modules) const {
  uint32_t bytes = entryBytes(moduleArchivePath(modules.transponder));
  bytes += entryBytes(moduleArchivePath(kSharedModule));
  if (job.installProgramFiles) bytes += entryBytes(moduleArchivePath(modules.mainModule));
  if (modules.autoJoin) bytes += entryBytes(moduleArchivePath(modules.autoJoin));
  return bytes + treeBytes("/fs/aircraft/");
}

uint32_t Installation::measure() const {
  uint32_t total = 0;
  if (job.installProgramFiles) total += treeBytes("/ks");
  if (uninstallerAlone()) total += entryBytes(kUninstallerArchivePath);
  if (job.installFs2002) total += simulatorBytes(kFs2002Modules);
  if (job.installFs2004) total += simulatorBytes(kFs2004Modules);
  return total;
}

int Installation::extract() {
  if (job.installProgramFiles) {
    if (int result = extractTree("/ks", job.programDir, IDS_UNINSTALL_PROGRAM_FILES)) return result;
  }
  if (uninstallerAlone()) {
    if (int result = extractUninstaller()) return result;
  }
  if (job.installFs2002) {
    if (int result = extractSimulator(job.fs2002Dir, kFs2002Modules)) return result;
  }
  if (job.installFs2004) return extractSimulator(job.fs2004Dir, kFs2004Modules);
  return kInstallSucceeded;
}

int Installation::extractSimulator(const std::string& folder, const SimulatorModules& modules) {
  std::string base = folder;  // the registry's text, with or without a backslash
  ensureTrailingBackslash(base);
  const std::string modulesDir = base + "modules\\";
  const std::string aircraftDir = base + "aircraft\\";

  if (int result = extractModule(modulesDir, modules.transponder, IDS_UNINSTALL_TRANSPONDER_DLL))
    return result;
  // Other add-ons share this module: it replaces only an older copy, and the
  // uninstaller is never told to delete it.
  const std::string sharedModule = modulesDir + kSharedModule;
  if (int result = extractor.extractFile(moduleArchivePath(kSharedModule).c_str(),
                                         sharedModule.c_str(), true))
    return result;
  if (job.installProgramFiles) {
    if (int result = extractModule(modulesDir, modules.mainModule, IDS_UNINSTALL_MODULE_DLL))
      return result;
  }
  if (modules.autoJoin) {
    if (int result = extractModule(modulesDir, modules.autoJoin, IDS_UNINSTALL_AUTO_JOIN_DLL))
      return result;
  }
  // A broken default model set ends the run too: carrying on would let a good
  // Marlin tree report the whole installation as a success.
  if (int result = extractTree("/fs/aircraft/kestrel", aircraftDir + "kestrel",
                               IDS_UNINSTALL_DEFAULT_MODELS))
    return result;
  return extractTree("/fs/aircraft/marlin", aircraftDir + "marlin", IDS_UNINSTALL_MARLIN_MODELS);
}

// The event is logged whether or not the file was written: a failed run is
// never committed, and a successful one logs every step in order.
int Installation::extractModule(const std::string& modulesDir, const char* name,
                                UINT descriptionId) {
  const std::string destination = modulesDir + name;
  const int result = extractor.extractFile(moduleArchivePath(name).c_str(), destination.c_str(), false);
  job.uninstallLog->addEvent(kDeleteFile, destination.c_str(),
                             loadString(descriptionId).c_str());
  return result;
}

// Where the program tree would go and logged as the tree would be: the file,
// then its directory, so the uninstaller empties the directory before it
// tries to remove it.
int Installation::extractUninstaller() {
  const std::string destination = job.programDir + Escort::kUninstallerFile;
  const std::string description = loadString(IDS_UNINSTALL_PROGRAM_FILES);
  const int result = extractor.extractFile(kUninstallerArchivePath.c_str(), destination.c_str(), false);
  job.uninstallLog->addEvent(kDeleteFile, destination.c_str(), description.c_str());
  job.uninstallLog->addEvent(kDeleteEmptyDirs, job.programDir.c_str(), description.c_str());
  return result;
}

// The extractor logs one DeleteFile per file; the directory follows them, so
// the uninstaller empties it before it tries to remove it.
int Installation::extractTree(const char* prefix, const std::string& destination,
                              UINT descriptionId) {
  const std::string description = loadString(descriptionId);
  const int result =
      extractor.extractTree(prefix, destination.c_str(), job.uninstallLog, description.c_str());
  job.uninstallLog->addEvent(kDeleteEmptyDirs, destination.c_str(), description.c_str());
  return result;
}

}  // namespace

DWORD WINAPI installWorker(LPVOID parameter) {
  const InstallJob& job = *static_cast<const InstallJob*>(parameter);
  // The page frees the job while handling WM_INSTALL_DONE, so the one field
  // that message needs is read now.
  const HWND progressWindow = job.progressWindow;
  ProgressCB status(progressWindow);
  Escort::FileExtractor& extractor = *Escort::getFileExtractor();

  int result = kPayloadNotOpened;
  if (extractor.open(job.instanceHandle, &status)) {
    Installation installation(job, extractor);
    status.postTotal(installation.measure());
    result = installation.extract();
  }
  // The page leaves its wizard disabled until this message arrives, so it must
  // not be lost to a full message queue (Windows holds 10,000 posted messages
  // per thread, and a stalled GUI can fill it with progress): wait for room
  // while the page is still there.
  while (!PostMessageA(progressWindow, WM_INSTALL_DONE, static_cast<WPARAM>(result), 0) &&
         IsWindow(progressWindow))
    Sleep(10);
  extractor.closeCatalog();
  return 0;
}
