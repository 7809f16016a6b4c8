#include "installation_run.h"

#include <algorithm>

#include "documentation_address.h"
#include "install_worker.h"
#include "product_names.h"
#include "registration_details.h"
#include "registration_reader.h"
#include "registry_settings.h"
#include "start_menu_shortcuts.h"
#include "text_format.h"
#include "uninstaller_setup_factory.h"

namespace {

// A shortcut's size for the room check: it takes one cluster.
constexpr uint32_t kShortcutSize = 1;

Failure journalFailure() { return {machineKeyName(kJournalKey), GetLastError(), FailureSite::JournalRecord, "RegSetValueExA"}; }

// The folders the plan makes above `directory`, the deepest first, each with
// its backslash.
std::vector<std::string> plannedParentsOf(const ChangePlan& plan, std::string directory) {
  removeTrailingBackslash(directory);
  std::vector<std::string> parents;
  for (const std::string& folder : plan.folders) {
    if (directory.size() > folder.size() && directory[folder.size()] == '\\' &&
        equalsIgnoringCase(directory.substr(0, folder.size()), folder))
      parents.push_back(folder + '\\');
  }
  std::sort(parents.begin(), parents.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return parents;
}

}  // namespace

InstallationRun::InstallationRun(const InstallJob& request) : job(new InstallJob(request)) {}

InstallationRun::~InstallationRun() {
  if (workerThread) CloseHandle(workerThread);
}

bool InstallationRun::fail(Step step, const Failure& failure) {
  failedStep_ = step;
  failure_ = failure;
  return false;
}

bool InstallationRun::plan() {
  Failure failure;
  if (!planner.addSteps(installSteps(*job), job->instanceHandle, failure)) return fail(Step::Plan, failure);
  if (installsProgramFiles()) {
    shortcutFolder = startMenuFolder(job->texts);
    if (!shortcutFolder.empty()) {
      for (const std::string& file : shortcutFiles(shortcutFolder, job->texts)) {
        if (!planner.addFile(file, kShortcutSize, shortcutFolder, failure)) return fail(Step::Plan, failure);
      }
    }
    planner.addKey(kProgramSettingsKey);
  }
  planner.addKey(registrationKey(kProductName));
  job->programDirParents = plannedParentsOf(planner.plan(), job->programDir);
  return true;
}

bool InstallationRun::findDestinationProblem(DestinationProblem& problem) {
  const ChangePlan& plan = planner.plan();
  if (::findDestinationProblem(plan, problem)) return true;
  const std::string link = foldersHeld.hold(plan);
  if (link.empty()) return false;
  problem.folder.clear();
  for (const std::string& destination : plan.destinations)
    if (equalsIgnoringCase(link.substr(0, destination.size()), destination) && destination.size() > problem.folder.size())
      problem.folder = destination;
  problem.trouble = DestinationTrouble::Link;
  problem.path = link;
  return true;
}

bool InstallationRun::findRoomShortage(RoomShortage& shortage) const {
  return ::findRoomShortage(planner.plan(), shortage);
}

std::vector<HeldFile> InstallationRun::heldFiles() const { return findHeldFiles(planner.plan()); }

bool InstallationRun::begin() {
  if (!journal.begin(planner.plan())) return fail(Step::Journal, journalFailure());
  job->journal = &journal;
  const std::string uninstaller = job->programDir + kUninstallerFile;
  const RegistryKeyState* registration = journal.keyAsItStood(registrationKey(kProductName));
  uninstallLog = Escort::createUninstallerSetup(kProductName, "", uninstaller.c_str(),
                                                registration ? &registration->values : nullptr);
  if (!uninstallLog) return fail(Step::Registration, {"", ERROR_NOT_ENOUGH_MEMORY, FailureSite::NoMemory});
  job->uninstallLog = uninstallLog;
  for (const std::string& folder : planner.plan().destinations)
    if (!uninstallLog->addDestination(folder.c_str()))
      return fail(Step::Registration, {"", ERROR_NOT_ENOUGH_MEMORY, FailureSite::NoMemory});
  return true;
}

bool InstallationRun::writeSettings() {
  Failure failure;
  if (installsProgramFiles() && !writeRegistrySettings(job->programDir, job->texts.settings, *uninstallLog, failure))
    return fail(Step::Settings, failure);
  return true;
}

bool InstallationRun::createShortcuts() {
  Failure failure;
  if (installsProgramFiles() &&
      !createStartMenuShortcuts(shortcutFolder, job->programDir + kProgramFile, job->programDir + kUninstallerFile,
                                kDocumentationAddress, job->programDir + kIconFile, job->texts, *uninstallLog,
                                journal, failure))
    return fail(Step::Shortcuts, failure);
  return true;
}

bool InstallationRun::startWorker(HWND progressWindow) {
  job->progressWindow = progressWindow;
  workerThread = CreateThread(nullptr, 0, installWorker, job.get(), 0, nullptr);
  if (!workerThread) return fail(Step::WorkerStart, {"", GetLastError(), FailureSite::WorkerStart, "CreateThread"});
  return true;
}

void InstallationRun::workerFailed(const Failure& failure) { failure_ = failure; }

bool InstallationRun::workerEnded(int result) {
  // The worker touches neither the job nor the log any more; it ends by itself.
  CloseHandle(workerThread);
  workerThread = nullptr;
  if (result == kInstallSucceeded) return true;
  filesResult_ = result;
  // Told by no failure of its own: the catalog could not be read.
  if (!failure_.happened()) failure_ = {"", 0, FailureSite::PayloadNotOpened};
  return fail(Step::Files, failure_);
}

bool InstallationRun::commit() {
  // Every new file, and the names of the earlier ones put aside, on the disk
  // before "committed" can let the earlier ones go.
  if (!journal.flushWrittenFiles())
    return fail(Step::Registration, {"", GetLastError(), FailureSite::FlushFiles, "FlushFileBuffers"});
  // commit ends the log whatever it returns.
  Escort::UninstallerSetup* const committed = uninstallLog;
  uninstallLog = nullptr;
  job->uninstallLog = nullptr;
  const std::string registration = machineKeyName(registrationKey(kProductName));
  if (!committed->commit())
    return fail(Step::Registration, {registration, GetLastError(), FailureSite::RegistrationWrite, "RegSetValueExA"});
  if (!writeRegistrationDetails(kProductName, job->programDir))
    return fail(Step::Registration, {registration, GetLastError(), FailureSite::RegistrationDetails, "RegSetValueExA"});
  if (!journal.markCommitted())
    return fail(Step::Registration, {machineKeyName(kJournalKey), GetLastError(), FailureSite::CommitRecord,
                                     "RegFlushKey"});
  journal.finish();
  return true;
}

JournalSettlement InstallationRun::takeBack(Waiting& waiting) {
  // An uninstall log that exists by then is left to end with the process: it
  // can only end by committing, and a failed installation leaves no registration.
  if (!journal.began()) return JournalSettlement();
  journal.stopFlushing();
  return settleJournal(waiting);
}
