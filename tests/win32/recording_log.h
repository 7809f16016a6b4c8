#pragma once
// An uninstall log that only remembers its events, for checking what was logged.
// With `accepting` false it still records each event but reports a failure.
#include <string>
#include <vector>

#include "uninstall_event.h"
#include "uninstall_log_interface.h"

class RecordingLog : public Escort::UninstallerSetup {
 public:
  bool addEvent(const char* command, const char* parameter, const char* description) override {
    events.push_back({command, parameter, description});
    return accepting;
  }
  bool addDestination(const char*) override { return accepting; }
  bool commit() override { return true; }

  std::vector<UninstallEvent> events;
  bool accepting = true;
};
