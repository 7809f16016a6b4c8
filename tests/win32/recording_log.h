#pragma once
// An uninstall log that only remembers its events, for checking what was logged.
// With `accepting` false it still records each event but reports a failure.
#include <ostream>
#include <string>
#include <vector>

#include "uninstaller_setup.h"

struct LoggedEvent {
  std::string command, parameter, description;
  bool operator==(const LoggedEvent& o) const {
    return command == o.command && parameter == o.parameter && description == o.description;
  }
};

inline void PrintTo(const LoggedEvent& event, std::ostream* out) {
  *out << "{" << event.command << ", " << event.parameter << ", " << event.description << "}";
}

class RecordingLog : public Escort::UninstallerSetup {
 public:
  bool addEvent(const char* command, const char* parameter, const char* description) override {
    events.push_back({command, parameter, description});
    return accepting;
  }
  bool commit() override { return true; }

  std::vector<LoggedEvent> events;
  bool accepting = true;
};
