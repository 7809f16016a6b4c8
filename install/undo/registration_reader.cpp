#include "registration_reader.h"

#include <windows.h>

#include <utility>

namespace {

class RegistrationKey {
 public:
  explicit RegistrationKey(const std::string& subkey) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE, &key_) !=
        ERROR_SUCCESS)
      key_ = nullptr;
  }
  RegistrationKey(const RegistrationKey&) = delete;
  RegistrationKey& operator=(const RegistrationKey&) = delete;
  ~RegistrationKey() {
    if (key_) RegCloseKey(key_);
  }
  bool exists() const { return key_ != nullptr; }

  // A REG_SZ value without its terminating zero; false for anything else.
  bool text(const std::string& name, std::string& value) const {
    DWORD type = REG_NONE, size = 0;
    std::string data;
    LONG status = ERROR_MORE_DATA;
    // The value may grow between the two calls; ask again until it fits.
    while (status == ERROR_MORE_DATA) {
      data.resize(size);
      status = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &size);
      if (status == ERROR_SUCCESS && size > data.size()) status = ERROR_MORE_DATA;
    }
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    data.resize(size);
    if (!data.empty() && data.back() == '\0') data.pop_back();
    if (data.find('\0') != std::string::npos) return false;
    value = data;
    return true;
  }

  bool number(const char* name, DWORD& value) const {
    DWORD type = REG_NONE, size = sizeof value;
    return RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::string registrationKey(const std::string& productName) {
  return Escort::kUninstallKey + productName;
}

RegistrationStatus readRegistration(const std::string& productName, Registration& registration,
                                    std::string& damagedValue) {
  if (productName.empty() || productName.find('\\') != std::string::npos)
    return RegistrationStatus::Missing;
  RegistrationKey key(registrationKey(productName));
  if (!key.exists()) return RegistrationStatus::Missing;

  auto damaged = [&](const std::string& value) {
    damagedValue = value;
    return RegistrationStatus::Damaged;
  };
  Registration read;
  if (!key.text(Escort::kDisplayNameValue, read.displayName))
    return damaged(Escort::kDisplayNameValue);
  key.text(Escort::kUninstallStringValue, read.uninstallString);
  DWORD count = 0;
  if (!key.number(Escort::kEventCountValue, count)) return damaged(Escort::kEventCountValue);
  for (DWORD n = 0; n < count; ++n) {
    const std::string number = std::to_string(n);
    Escort::UninstallEvent event;
    for (auto [prefix, field] : {std::make_pair(Escort::kEventTagPrefix, &event.command),
                                 std::make_pair(Escort::kEventParamsPrefix, &event.parameter),
                                 std::make_pair(Escort::kEventDescPrefix, &event.description)}) {
      if (!key.text(prefix + number, *field)) return damaged(prefix + number);
    }
    read.events.push_back(std::move(event));
  }
  registration = std::move(read);
  return RegistrationStatus::Found;
}
