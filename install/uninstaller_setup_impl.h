#pragma once
#include <string>
#include <vector>

#include "registry_key.h"
#include "registry_key_state.h"
#include "uninstall_log_interface.h"
#include "uninstall_registration.h"

namespace Escort {

class UninstallerSetupImpl final : public UninstallerSetup {
 public:
  UninstallerSetupImpl(const char* productName, const char* description,
                       const char* uninstallerPath, const std::vector<SavedRegistryValue>* standing);

  bool addEvent(const char* command, const char* parameter, const char* eventDescription) override;
  bool addDestination(const char* folder) override;
  bool commit() override;

 private:
  ~UninstallerSetupImpl() = default;  // only commit() ends the log
  std::vector<UninstallEvent> withEarlierEvents(const std::vector<UninstallEvent>& earlier) const;
  std::vector<SavedRegistryValue> registeredValues(const std::vector<UninstallEvent>& registered,
                                                   const std::vector<std::string>& folders) const;
  bool writeChanged(const RegistryKey& key, const std::vector<SavedRegistryValue>& earlier,
                    const std::vector<SavedRegistryValue>& wanted) const;

  std::string productName;
  std::string description;
  std::string uninstallerPath;
  std::vector<UninstallEvent> events;
  std::vector<std::string> destinations;
  // The registration's values as they stand, when the run has read them.
  bool standingKnown;
  std::vector<SavedRegistryValue> standing;
};

}  // namespace Escort
