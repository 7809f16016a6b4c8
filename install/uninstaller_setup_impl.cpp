#include "uninstaller_setup_impl.h"

#include <windows.h>

#include <new>

#include "uninstall_log.h"

namespace Escort {
namespace {

// The registration key, closed on every way out of a write.
class RegistrationKey {
 public:
  RegistrationKey() = default;
  RegistrationKey(const RegistrationKey&) = delete;
  RegistrationKey& operator=(const RegistrationKey&) = delete;
  ~RegistrationKey() {
    if (key_) RegCloseKey(key_);
  }

  // Opens the key of an earlier installation as it is, or creates it.
  bool create(const std::string& subkey) {
    char noClass[] = "";  // RegCreateKeyExA takes the class as a writable string
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }

  // The text and its terminating zero.
  bool setString(const std::string& name, const std::string& value) const {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

  bool setDword(const std::string& name, DWORD value) const {
    return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

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
  RegistrationKey key;
  if (!key.create(std::string(kUninstallKey) + productName)) return false;

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
