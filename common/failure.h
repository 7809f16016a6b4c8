#pragma once
// What failed, where and why, carried unchanged from the Windows call that
// failed to the message the user reads. No Windows headers: the report texts
// that list failures are tested on the host.
#include <string>
#include <utility>

#include "failure_site.h"

struct Failure {
  Failure() = default;
  Failure(std::string item, unsigned long systemError, FailureSite site = FailureSite::Unknown, const char* call = "")
      : item(std::move(item)), systemError(systemError), site(site), call(call) {}

  std::string item;               // the file, folder or registry key
  unsigned long systemError = 0;  // the Windows error of the call that failed
  FailureSite site = FailureSite::Unknown;
  const char* call = "";          // the Windows function that failed, when one did
  std::string reason;             // what Windows says of systemError, once asked

  bool happened() const { return systemError != 0 || site != FailureSite::Unknown; }
};
