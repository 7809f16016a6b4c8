#pragma once
// One uninstallation: the registration's events in the order they were
// logged, then the registration itself. No user interface: the observer is
// told where the run stands.
#include <cstddef>
#include <functional>
#include <string>

#include "waiting.h"
#include "registration_reader.h"
#include "uninstall_summary.h"

// It also waits for files being deleted, saying what for.
class UninstallObserver : public Waiting {
 public:
  // Before event `done` of `total` (its description), and once more at the
  // end with `done` equal to `total` and no description.
  virtual void progress(size_t done, size_t total, const std::string& description) = 0;
  // The file `path` cannot be deleted because another program has it open
  // or loaded (Escort::isInUse).
  // True: try again (the user has closed that program); false: it stays.
  virtual bool fileInUse(const std::string& path) = 0;
  // Without a window to keep alive, a wait is only a pause.
  void waitFor(const std::string& path, unsigned long ms) override { quietWaiting().waitFor(path, ms); }

 protected:
  ~UninstallObserver() = default;
};

// Carries out every allowed event and skips every other (isAllowedEvent); a
// failing event does not stop the run. The registration key of `productName`
// is deleted last, only when no event failed, and only once what the events
// removed is gone on the disk: refused events count as handled, since any
// later run would refuse them again and the registration would never go. A
// registration key that cannot be deleted is a failure too. Carried out
// again, the same events finish what an interrupted run began.
//
// `waitingProgram` is the file of the uninstaller that started this run and
// waits for it with that file loaded, `asideFolder` the folder that goes at the
// next restart where it goes meanwhile (putAsideUntilRestart); empty when no
// program waits so.
UninstallSummary runUninstall(const std::string& productName, const Registration& registration,
                              UninstallObserver& observer, const std::string& waitingProgram = std::string(),
                              const std::string& asideFolder = std::string());

// The whole uninstallation as the uninstaller carries it out: recorded in the
// journal before anything is removed (false, with nothing removed, when that
// cannot be done), runUninstall, then, when something stays, `whenIncomplete`
// (the uninstaller puts itself back; it gives the path it changed), that on
// the disk, and the journal gone.
bool uninstallRecorded(const std::string& productName, const Registration& registration, UninstallObserver& observer,
                       const std::string& waitingProgram, const std::string& asideFolder,
                       const std::function<std::string()>& whenIncomplete, UninstallSummary& summary);
