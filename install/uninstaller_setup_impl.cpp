#include "uninstaller_setup_impl.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <new>
#include <set>
#include <utility>

#include "registration_reader.h"
#include "registry_key.h"
#include "text_format.h"
#include "product_names.h"
#include "uninstall_commands.h"
#include "uninstaller_setup_factory.h"

namespace Escort {

UninstallerSetup* createUninstallerSetup(const char* productName, const char* description,
                                         const char* uninstallerPath, const std::vector<SavedRegistryValue>* standing) {
  try {
    return new (std::nothrow) UninstallerSetupImpl(productName, description, uninstallerPath, standing);
  } catch (const std::bad_alloc&) {
    return nullptr;  // the object fitted but one of its strings did not
  }
}

UninstallerSetupImpl::UninstallerSetupImpl(const char* productName, const char* description,
                                           const char* uninstallerPath,
                                           const std::vector<SavedRegistryValue>* standing)
    : productName(productName), description(description), uninstallerPath(uninstallerPath),
      standingKnown(standing != nullptr) {
  if (standing) this->standing = *standing;
}

bool UninstallerSetupImpl::addEvent(const char* command, const char* parameter,
                                    const char* eventDescription) {
  try {
    events.push_back({command, parameter, eventDescription});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool UninstallerSetupImpl::addDestination(const char* folder) {
  try {
    destinations.push_back(folder);
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
    RegistryKey key;
    if (!events.empty() && key.create(kUninstallKey + productName, KEY_ALL_ACCESS)) {
      const std::vector<SavedRegistryValue> earlier = standingKnown ? std::move(standing) : key.values();
      // An earlier installation's folders stay named with its events.
      std::vector<std::string> folders = destinations;
      for (const std::string& folder : readableDestinations(earlier))
        if (std::none_of(folders.begin(), folders.end(),
                         [&folder](const std::string& named) { return equalsIgnoringCase(named, folder); }))
          folders.push_back(folder);
      written = writeChanged(key, earlier, registeredValues(withEarlierEvents(readableEvents(earlier)), folders));
    }
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
std::vector<UninstallEvent> UninstallerSetupImpl::withEarlierEvents(const std::vector<UninstallEvent>& earlier) const {
  std::vector<UninstallEvent> both = events;
  both.insert(both.end(), earlier.begin(), earlier.end());
  // From the end, each one the first time it is met.
  std::set<std::pair<std::string, std::string>> met;
  std::vector<UninstallEvent> registered;
  for (auto event = both.rbegin(); event != both.rend(); ++event) {
    if (met.insert({event->command, asciiLowerCase(event->parameter)}).second) registered.push_back(*event);
  }
  std::reverse(registered.begin(), registered.end());
  return registered;
}

namespace {

SavedRegistryValue text(const std::string& name, const std::string& value) {
  return {name, REG_SZ, std::string(value.c_str(), value.size() + 1)};  // with its terminating zero
}

SavedRegistryValue number(const std::string& name, DWORD value) {
  return {name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}

// Kilobytes, rounded up, of the files that the events would delete and that
// are there: what one uninstallation frees.
DWORD kilobytesToRemove(const std::vector<UninstallEvent>& registered) {
  uint64_t bytes = 0;
  for (const UninstallEvent& event : registered) {
    WIN32_FILE_ATTRIBUTE_DATA file;
    if (event.command == kDeleteFile && GetFileAttributesExA(event.parameter.c_str(), GetFileExInfoStandard, &file) &&
        !(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      bytes += (uint64_t(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
  }
  return static_cast<DWORD>((bytes + 1023) / 1024);
}

}  // namespace

std::vector<SavedRegistryValue> UninstallerSetupImpl::registeredValues(const std::vector<UninstallEvent>& registered,
                                                                      const std::vector<std::string>& folders) const {
  // The program directory usually lies under "Program Files": unquoted, the
  // command line would end at the first blank of the path.
  std::vector<SavedRegistryValue> values = {
      text(kDisplayNameValue, productName), text(kUninstallStringValue, '"' + uninstallerPath + "\" " + productName),
      text(kDescriptionValue, description), number(kEventCountValue, static_cast<DWORD>(registered.size()))};
  for (size_t n = 0; n < registered.size(); ++n) {
    const std::string suffix = std::to_string(n);
    values.push_back(text(kEventTagPrefix + suffix, registered[n].command));
    values.push_back(text(kEventParamsPrefix + suffix, registered[n].parameter));
    values.push_back(text(kEventDescPrefix + suffix, registered[n].description));
  }
  values.push_back(number(kEstimatedSizeValue, kilobytesToRemove(registered)));
  if (!folders.empty()) {
    std::string joined;
    for (const std::string& folder : folders) joined += (joined.empty() ? "" : std::string(1, kDestinationSeparator)) + folder;
    values.push_back(text(kDestinationsValue, joined));
  }
  return values;
}

// Only what differs from what the key holds is written: a reinstall of what
// is registered already writes next to nothing.
bool UninstallerSetupImpl::writeChanged(const RegistryKey& key, const std::vector<SavedRegistryValue>& earlier,
                                        const std::vector<SavedRegistryValue>& wanted) const {
  std::map<std::string, const SavedRegistryValue*> standing;
  for (const SavedRegistryValue& value : earlier) standing[asciiLowerCase(value.name)] = &value;
  for (const SavedRegistryValue& value : wanted) {
    const auto found = standing.find(asciiLowerCase(value.name));
    if (found != standing.end() && found->second->type == value.type && found->second->data == value.data) continue;
    if (!key.set(value)) return false;
  }
  return true;
}

}  // namespace Escort
