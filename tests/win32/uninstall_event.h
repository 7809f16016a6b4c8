#pragma once
// One event of an uninstall registration: what the uninstaller is to do, to
// what, and what it shows meanwhile.
#include <string>

struct UninstallEvent {
  std::string command, parameter, description;
  bool operator==(const UninstallEvent& o) const {
    return command == o.command && parameter == o.parameter && description == o.description;
  }
};
