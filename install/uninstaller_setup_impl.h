#pragma once
#include <string>
#include <vector>

#include "uninstall_registration.h"
#include "uninstaller_setup.h"

namespace Escort {

class UninstallerSetupImpl final : public UninstallerSetup {
 public:
  UninstallerSetupImpl(const char* productName, const char* description,
                       const char* uninstallerPath);

  bool addEvent(const char* command, const char* parameter, const char* eventDescription) override;
  bool commit() override;

 private:
  ~UninstallerSetupImpl() = default;  // only commit() ends the log
  std::vector<UninstallEvent> withEarlierEvents() const;
  bool writeRegistration(const std::vector<UninstallEvent>& registered) const;

  std::string productName;
  std::string description;
  std::string uninstallerPath;
  std::vector<UninstallEvent> events;
};

}  // namespace Escort
