#pragma once
// One event of an uninstall registration: what the uninstaller is to do, to
// what, and what it shows meanwhile.
#include <ostream>
#include <string>

struct UninstallEvent {
  std::string command, parameter, description;
  bool operator==(const UninstallEvent& o) const {
    return command == o.command && parameter == o.parameter && description == o.description;
  }
};

// How a failed comparison shows one.
inline void PrintTo(const UninstallEvent& event, std::ostream* out) {
  *out << "{" << event.command << ", " << event.parameter << ", " << event.description << "}";
}
