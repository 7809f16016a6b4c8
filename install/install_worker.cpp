#include "install_worker.h"

#include <cstdint>
#include <string>

#include "file_extractor.h"
#include "install_job.h"
#include "install_messages.h"
#include "install_plan.h"
#include "progress_cb.h"
#include "uninstall_commands.h"

namespace {

class Installation {
 public:
  Installation(const InstallJob& job, Escort::FileExtractor& extractor)
      : job(job), extractor(extractor), steps(installSteps(job)) {}

  // Every byte the run will write, from the catalog alone, so that the page's
  // bar has a fixed total before the first file. A missing entry or tree
  // counts 0: the extractor leaves the sizes alone then.
  uint32_t measure() const {
    uint32_t total = 0;
    for (const InstallStep& step : steps) {
      uint32_t compressed = 0, uncompressed = 0;
      if (step.tree)
        extractor.treeSize(step.archivePath.c_str(), &compressed, &uncompressed);
      else
        extractor.entrySize(step.archivePath.c_str(), &compressed, &uncompressed);
      total += uncompressed;
    }
    return total;
  }

  // The steps in their order; the first failure ends it.
  int extract() {
    for (const InstallStep& step : steps) {
      if (int result = carryOut(step)) return result;
    }
    return kInstallSucceeded;
  }

 private:
  // Each step is logged whether or not its files were written: a failed run
  // is never committed, and a successful one logs every step in order. A
  // tree's files are logged by the extractor; its directory follows them, so
  // the uninstaller empties it before it tries to remove it.
  int carryOut(const InstallStep& step) {
    const std::string& description = step.description;
    int result;
    if (step.tree) {
      result = extractor.extractTree(step.archivePath.c_str(), step.destination.c_str(), job.uninstallLog,
                                     description.c_str());
      log(kDeleteEmptyDirs, step.destination, description);
    } else {
      result = extractor.extractFile(step.archivePath.c_str(), step.destination.c_str(), step.versionAware);
      if (step.logged) log(kDeleteFile, step.destination, description);
      if (!step.directoryToLog.empty()) log(kDeleteEmptyDirs, step.directoryToLog, description);
    }
    // Folders the program directory needed above it go with it, the deepest first.
    if (step.programFiles) {
      for (const std::string& parent : job.programDirParents) log(kDeleteEmptyDirs, parent, description);
    }
    return result;
  }

  void log(const char* command, const std::string& parameter, const std::string& description) {
    job.uninstallLog->addEvent(command, parameter.c_str(), description.c_str());
  }

  const InstallJob& job;
  Escort::FileExtractor& extractor;
  const std::vector<InstallStep> steps;
};

}  // namespace

DWORD WINAPI installWorker(LPVOID parameter) {
  const InstallJob& job = *static_cast<const InstallJob*>(parameter);
  // The page frees the job while handling WM_INSTALL_DONE, so the one field
  // that message needs is read now.
  const HWND progressWindow = job.progressWindow;
  ProgressCB status(progressWindow, job.reportInterval);
  Escort::FileExtractor& extractor = *Escort::getFileExtractor();

  int result = kPayloadNotOpened;
  if (extractor.open(job.instanceHandle, &status)) {
    extractor.setUndoLog(job.journal);
    Installation installation(job, extractor);
    status.postTotal(installation.measure());
    result = installation.extract();
    status.postWritten();
    extractor.setUndoLog(nullptr);
  }
  // The page leaves its wizard disabled until this message arrives, so it must
  // not be lost to a full message queue (Windows XP..11 hold 10,000 posted
  // messages per queue, PostMessage in MSDN, and a stalled GUI can fill it
  // with progress): wait for room
  // while the page is still there.
  while (!PostMessageA(progressWindow, WM_INSTALL_DONE, static_cast<WPARAM>(result), 0) &&
         IsWindow(progressWindow))
    Sleep(10);
  extractor.closeCatalog();
  return 0;
}
