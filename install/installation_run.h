#pragma once
// One installation, as one procedure of named steps: first the checks that
// change nothing (plan, destinations, room, held files), then the changes,
// each recorded in the run's journal before it is made (begin, settings,
// shortcuts, the worker's files, commit), and after any failure one step
// that takes everything back. The progress page calls the steps in order
// and only draws, asks and reports between them; the tests and the benchmark
// call them without a page.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "change_planner.h"
#include "destination_check.h"
#include "failure.h"
#include "file_holders.h"
#include "folders_held.h"
#include "install_job.h"
#include "install_journal.h"
#include "journal_settlement.h"
#include "room_check.h"

class InstallationRun {
 public:
  // The step that failed, for the message the user reads.
  enum class Step { None, Plan, Journal, Settings, Shortcuts, WorkerStart, Files, Registration };

  // `job` says what to install (its progress window is set by startWorker);
  // `shortcuts`: whether the Start menu shortcuts are made (with the program files).
  explicit InstallationRun(const InstallJob& job);
  ~InstallationRun();
  InstallationRun(const InstallationRun&) = delete;
  InstallationRun& operator=(const InstallationRun&) = delete;

  // --- Before anything changes ---------------------------------------------
  // Works out every change of the run. False when the payload cannot be read
  // or two parts of it would write one file.
  bool plan();
  // A destination that cannot take what goes there; else the folders the
  // run writes into are held as they stand until it ends (folders_held.h).
  bool findDestinationProblem(DestinationProblem& problem);
  bool findRoomShortage(RoomShortage& shortage) const;
  std::vector<HeldFile> heldFiles() const;

  // --- The changes, each recorded before it is made ------------------------
  // The plan recorded, and on the disk; nothing has changed before.
  bool begin();
  // The program's settings and Start menu shortcuts, when it installs the
  // program files (true at once otherwise). COM must be initialised on this thread.
  bool writeSettings();
  bool createShortcuts();
  // The worker thread, posting its messages to `progressWindow`; the job
  // belongs to it until workerEnded.
  bool startWorker(HWND progressWindow);
  // The worker's WM_INSTALL_FAILED and WM_INSTALL_DONE, on the same thread as
  // startWorker. workerEnded is false when the files failed.
  void workerFailed(const Failure& failure);
  bool workerEnded(int result);
  // The registration written, "committed" on the disk, what was kept aside
  // gone, the journal gone.
  bool commit();

  // --- After a failure ------------------------------------------------------
  // Everything the run changed, taken back (journal_settlement.h); nothing
  // to settle when the run never began.
  JournalSettlement takeBack(Waiting& waiting = quietWaiting());

  Step failedStep() const { return failedStep_; }
  const Failure& failure() const { return failure_; }
  // The worker's result code when the files failed (the code the user sees).
  int filesResult() const { return filesResult_; }
  bool began() const { return journal.began(); }

 private:
  bool fail(Step step, const Failure& failure);
  bool installsProgramFiles() const { return job->installProgramFiles; }

  std::unique_ptr<InstallJob> job;
  ChangePlanner planner;
  FoldersHeld foldersHeld;
  InstallJournal journal;
  Escort::UninstallerSetup* uninstallLog = nullptr;
  std::string shortcutFolder;
  HANDLE workerThread = nullptr;
  Step failedStep_ = Step::None;
  Failure failure_;
  int filesResult_ = 0;
};
