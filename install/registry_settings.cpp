#include "registry_settings.h"

#include <windows.h>

#include "product_names.h"
#include "registry_key.h"
#include "uninstall_commands.h"

namespace {

const char kDataVersionValue[] = "DataVersion";
// The layout of the program's data files that this release installs.
constexpr DWORD kDataVersion = 2006062300;

// False, with `call` the Windows function that failed.
bool writeValues(const std::string& programDir, const char*& call) {
  RegistryKey key;
  call = "RegCreateKeyExA";
  if (!key.create(kProgramSettingsKey, KEY_WRITE)) return false;
  call = "RegSetValueExA";
  return key.setString(kProgramDirValue, programDir) && key.setDword(kDataVersionValue, kDataVersion);
}

}  // namespace

bool writeRegistrySettings(const std::string& programDir, const std::string& eventDescription,
                           Escort::UninstallerSetup& uninstallLog, Failure& failure) {
  const char* call = "";
  const bool written = writeValues(programDir, call);
  const std::string key = machineKeyName(kProgramSettingsKey);
  if (!written) failure = {key, GetLastError(), FailureSite::SettingsWrite, call};
  // Logged even when writing failed: the installation stops then, its log is
  // never committed, and what was written is taken back.
  const bool logged = uninstallLog.addEvent(kDeleteRegTree, key.c_str(), eventDescription.c_str());
  if (written && !logged) failure = {key, ERROR_NOT_ENOUGH_MEMORY, FailureSite::NoMemory};
  return logged && written;
}
