#pragma once
#include <string>
#include <vector>

#include "uninstaller_setup.h"

namespace Escort {

// One change to undo: a command word the uninstaller program knows, what it
// acts on, and the text it shows meanwhile.
struct UninstallEvent {
  std::string command;
  std::string parameter;
  std::string description;
};

class UninstallerSetupImpl final : public UninstallerSetup {
 public:
  UninstallerSetupImpl(const char* productName, const char* description,
                       const char* uninstallerPath);

  bool addEvent(const char* command, const char* parameter, const char* eventDescription) override;
  bool commit() override;

 private:
  ~UninstallerSetupImpl() = default;  // only commit() ends the log
  bool writeRegistration() const;

  std::string productName;
  std::string description;
  std::string uninstallerPath;
  std::vector<UninstallEvent> events;
};

}  // namespace Escort
