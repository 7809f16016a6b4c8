#include "uninstaller_setup_impl.h"

#include <windows.h>

#include <new>

#include "registry_key.h"
#include "uninstall_log.h"

namespace Escort {

UninstallerSetup* createUninstallerSetup(const char* productName, const char* description,
                                         const char* uninstallerPath) {
  try {
    return new (std::nothrow) UninstallerSetupImpl(productName, description, uninstallerPath);
  } catch (const std::bad_alloc&) {
    return nullptr;  // the object fitted but one of its strings did not
  }
}

UninstallerSetupImpl::UninstallerSetupImpl(const char* productName, const char* description,
                                           const char* uninstallerPath)
    : productName(productName), description(description), uninstallerPath(uninstallerPath) {}

bool UninstallerSetupImpl::addEvent(const char* command, const char* parameter,
                                    const char* eventDescription) {
  try {
    events.push_back({command, parameter, eventDescription});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool UninstallerSetupImpl::commit() {
  bool written = false;
  try {
    written = writeRegistration();
  } catch (const std::bad_alloc&) {
    // A value name or the uninstall command could not be built; the key is closed.
  }
  delete this;
  return written;
}

// Nothing is rolled back: values written before a failure stay in the key, and
// "EscortEvents" may then count events whose values are missing.
bool UninstallerSetupImpl::writeRegistration() const {
  if (events.empty()) return false;
  RegistryKey key;
  if (!key.create(kUninstallKey + productName, KEY_ALL_ACCESS)) return false;

  bool named = key.setString(kDisplayNameValue, productName);
  // The program directory usually lies under "Program Files": unquoted, the
  // command line would end at the first blank of the path.
  bool startable = key.setString(kUninstallStringValue, '"' + uninstallerPath + "\" " + productName);
  if (!named || !startable) return false;
  if (!key.setString(kDescriptionValue, description)) return false;
  if (!key.setDword(kEventCountValue, static_cast<DWORD>(events.size()))) return false;

  for (size_t n = 0; n < events.size(); ++n) {
    const std::string number = std::to_string(n);
    const UninstallEvent& event = events[n];
    bool tag = key.setString(kEventTagPrefix + number, event.command);
    bool params = key.setString(kEventParamsPrefix + number, event.parameter);
    bool desc = key.setString(kEventDescPrefix + number, event.description);
    if (!tag || !params || !desc) return false;
  }
  return true;
}

}  // namespace Escort
