#pragma once
// One uninstallation: the registration's events in the order they were
// logged, then the registration itself. No user interface: the observer is
// told where the run stands.
#include <cstddef>
#include <string>

#include "registration_reader.h"
#include "uninstall_summary.h"

class UninstallObserver {
 public:
  // Before event `done` of `total` (its description), and once more at the
  // end with `done` equal to `total` and no description.
  virtual void progress(size_t done, size_t total, const std::string& description) = 0;
  // The file `path` cannot be deleted because another program holds it.
  // True: try again (the user has closed that program); false: it stays.
  virtual bool fileInUse(const std::string& path) = 0;

 protected:
  ~UninstallObserver() = default;
};

// Carries out every allowed event and skips every other (isAllowedEvent); a
// failing event does not stop the run. The registration key of `productName`
// is deleted last, and only when no event failed: refused events count as
// handled, since any later run would refuse them again and the registration
// would never go. A registration key that cannot be deleted is a failure too.
UninstallSummary runUninstall(const std::string& productName, const Registration& registration,
                              UninstallObserver& observer);
