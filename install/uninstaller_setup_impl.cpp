#include "uninstaller_setup_impl.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "registration_reader.h"
#include "registry_key.h"
#include "text_format.h"
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

// The caller's journal holds the key as it stood: a registration that cannot
// be written whole, or whose writing is cut off, is taken back with the rest
// of the run, and an earlier installation's registration stays able to remove
// it.
bool UninstallerSetupImpl::commit() {
  bool written = false;
  try {
    written = writeRegistration(withEarlierEvents());
  } catch (const std::bad_alloc&) {
    // A value name or the uninstall command could not be built; the key is closed.
  }
  delete this;
  return written;
}

// This run's events, then those of an earlier installation's registration,
// each event once: one uninstallation then removes both, where replacing the
// earlier list would orphan whatever this run did not install again (another
// program directory, another type). An event that both lists hold stands
// where it comes last: a folder that both logged is removed only after the
// earlier installation's files in it, and a reinstall that logs what the
// earlier one did registers just that list. Every event that can still be
// read of a damaged earlier registration is kept too: dropping them would
// leave the earlier installation with no way to be removed.
std::vector<UninstallEvent> UninstallerSetupImpl::withEarlierEvents() const {
  std::vector<UninstallEvent> both = events;
  const std::vector<UninstallEvent> earlier = readableEvents(productName);
  both.insert(both.end(), earlier.begin(), earlier.end());
  std::vector<UninstallEvent> registered;
  for (auto event = both.begin(); event != both.end(); ++event) {
    const auto repeats = [&event](const UninstallEvent& later) {
      return later.command == event->command && equalsIgnoringCase(later.parameter, event->parameter);
    };
    if (std::none_of(event + 1, both.end(), repeats)) registered.push_back(*event);
  }
  return registered;
}

bool UninstallerSetupImpl::writeRegistration(const std::vector<UninstallEvent>& registered) const {
  if (events.empty()) return false;
  RegistryKey key;
  if (!key.create(kUninstallKey + productName, KEY_ALL_ACCESS)) return false;

  bool named = key.setString(kDisplayNameValue, productName);
  // The program directory usually lies under "Program Files": unquoted, the
  // command line would end at the first blank of the path.
  bool startable = key.setString(kUninstallStringValue, '"' + uninstallerPath + "\" " + productName);
  if (!named || !startable) return false;
  if (!key.setString(kDescriptionValue, description)) return false;
  if (!key.setDword(kEventCountValue, static_cast<DWORD>(registered.size()))) return false;

  for (size_t n = 0; n < registered.size(); ++n) {
    const std::string number = std::to_string(n);
    const UninstallEvent& event = registered[n];
    bool tag = key.setString(kEventTagPrefix + number, event.command);
    bool params = key.setString(kEventParamsPrefix + number, event.parameter);
    bool desc = key.setString(kEventDescPrefix + number, event.description);
    if (!tag || !params || !desc) return false;
  }
  return true;
}

}  // namespace Escort
