#include "registration_reader.h"

#include <windows.h>

#include <utility>

#include "registry_key.h"

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
