#include "registration_reader.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <utility>

#include "registry_key.h"
#include "registry_state.h"
#include "text_format.h"

std::string registrationKey(const std::string& productName) {
  return Escort::kUninstallKey + productName;
}

RegistrationStatus readRegistration(const std::string& productName, Registration& registration,
                                    std::string& damagedValue) {
  if (productName.empty() || findBackslash(productName) != std::string::npos)
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
  read.destinations = readableDestinations(key.values());
  registration = std::move(read);
  return RegistrationStatus::Found;
}

namespace {

// The text of a REG_SZ value as RegistryKey::readString reads it.
bool textOf(const SavedRegistryValue& value, std::string& text) {
  if (value.type != REG_SZ) return false;
  std::string data = value.data;
  if (!data.empty() && data.back() == '\0') data.pop_back();
  if (data.find('\0') != std::string::npos) return false;
  text = std::move(data);
  return true;
}

}  // namespace

std::vector<Escort::UninstallEvent> readableEvents(const std::vector<SavedRegistryValue>& values) {
  // By number: each event's three values, found wherever they stand.
  std::map<DWORD, std::array<const SavedRegistryValue*, 3>> numbered;
  const std::string prefixes[] = {Escort::kEventTagPrefix, Escort::kEventParamsPrefix, Escort::kEventDescPrefix};
  DWORD count = 0;
  bool counted = false;
  for (const SavedRegistryValue& value : values) {
    if (equalsIgnoringCase(value.name, Escort::kEventCountValue) && value.type == REG_DWORD &&
        value.data.size() == sizeof count) {
      std::memcpy(&count, value.data.data(), sizeof count);
      counted = true;
    }
    for (size_t part = 0; part < 3; ++part) {
      const std::string& prefix = prefixes[part];
      if (value.name.size() <= prefix.size() || !equalsIgnoringCase(value.name.substr(0, prefix.size()), prefix))
        continue;
      const std::string digits = value.name.substr(prefix.size());
      if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
      numbered[static_cast<DWORD>(std::stoul(digits))][part] = &value;
    }
  }
  std::vector<Escort::UninstallEvent> events;
  for (const auto& [number, parts] : numbered) {
    // Those of higher numbers are left over from an earlier registration.
    if (counted && number >= count) break;
    Escort::UninstallEvent event;
    if (!parts[0] || !parts[1] || !textOf(*parts[0], event.command) || !textOf(*parts[1], event.parameter)) continue;
    if (parts[2]) textOf(*parts[2], event.description);
    events.push_back(std::move(event));
  }
  return events;
}

std::vector<std::string> readableDestinations(const std::vector<SavedRegistryValue>& values) {
  std::vector<std::string> folders;
  for (const SavedRegistryValue& value : values) {
    std::string text;
    if (!equalsIgnoringCase(value.name, Escort::kDestinationsValue) || !textOf(value, text)) continue;
    for (size_t start = 0; start <= text.size();) {
      size_t end = text.find(Escort::kDestinationSeparator, start);
      if (end == std::string::npos) end = text.size();
      if (end > start) folders.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }
  return folders;
}
