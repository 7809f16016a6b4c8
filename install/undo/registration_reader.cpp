#include "registration_reader.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "registry_key.h"
#include "registry_state.h"

std::string registrationKey(const std::string& productName) {
  return Escort::kUninstallKey + productName;
}

RegistrationStatus readRegistration(const std::string& productName, Registration& registration,
                                    std::string& damagedValue) {
  if (productName.empty() || productName.find('\\') != std::string::npos)
    return RegistrationStatus::Missing;
  RegistryKey key;
  if (!key.open(registrationKey(productName), KEY_QUERY_VALUE)) return RegistrationStatus::Missing;

  auto damaged = [&](const std::string& value) {
    damagedValue = value;
    return RegistrationStatus::Damaged;
  };
  Registration read;
  if (!key.readString(Escort::kDisplayNameValue, read.displayName))
    return damaged(Escort::kDisplayNameValue);
  key.readString(Escort::kUninstallStringValue, read.uninstallString);
  DWORD count = 0;
  if (!key.readDword(Escort::kEventCountValue, count)) return damaged(Escort::kEventCountValue);
  for (DWORD n = 0; n < count; ++n) {
    const std::string number = std::to_string(n);
    Escort::UninstallEvent event;
    for (auto [prefix, field] : {std::make_pair(Escort::kEventTagPrefix, &event.command),
                                 std::make_pair(Escort::kEventParamsPrefix, &event.parameter),
                                 std::make_pair(Escort::kEventDescPrefix, &event.description)}) {
      if (!key.readString(prefix + number, *field)) return damaged(prefix + number);
    }
    read.events.push_back(std::move(event));
  }
  registration = std::move(read);
  return RegistrationStatus::Found;
}

namespace {

// The numbers n of the key's "EscortTag<n>" values, in ascending order.
std::vector<DWORD> taggedEventNumbers(HKEY key) {
  std::vector<DWORD> numbers;
  const std::string prefix = Escort::kEventTagPrefix;
  for (const SavedRegistryValue& value : valuesOf(key)) {
    const std::string digits = value.name.substr(std::min(prefix.size(), value.name.size()));
    if (value.name.compare(0, prefix.size(), prefix) != 0 || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    numbers.push_back(static_cast<DWORD>(std::stoul(digits)));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::vector<Escort::UninstallEvent> readableEvents(const std::string& productName) {
  std::vector<Escort::UninstallEvent> events;
  RegistryKey key;
  if (productName.empty() || productName.find('\\') != std::string::npos ||
      !key.open(registrationKey(productName), KEY_QUERY_VALUE))
    return events;
  std::vector<DWORD> numbers = taggedEventNumbers(key.handle());
  // Those of higher numbers are left over from an earlier registration.
  DWORD count = 0;
  if (key.readDword(Escort::kEventCountValue, count))
    numbers.erase(std::lower_bound(numbers.begin(), numbers.end(), count), numbers.end());
  for (DWORD n : numbers) {
    const std::string number = std::to_string(n);
    Escort::UninstallEvent event;
    if (!key.readString(Escort::kEventTagPrefix + number, event.command) ||
        !key.readString(Escort::kEventParamsPrefix + number, event.parameter))
      continue;
    key.readString(Escort::kEventDescPrefix + number, event.description);
    events.push_back(std::move(event));
  }
  return events;
}
