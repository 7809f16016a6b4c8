#include "registry_settings.h"

#include <windows.h>

#include "install_journal.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "string_helpers.h"
#include "uninstall_commands.h"

namespace {

const char kDataVersionValue[] = "DataVersion";
// The layout of the program's data files that this release installs.
constexpr DWORD kDataVersion = 2006062300;

bool writeValues(const std::string& programDir) {
  RegistryKey key;
  return key.create(kProgramSettingsKey, KEY_WRITE) && key.setString(kProgramDirValue, programDir) &&
         key.setDword(kDataVersionValue, kDataVersion);
}

}  // namespace

bool writeRegistrySettings(const std::string& programDir, Escort::UninstallerSetup& uninstallLog,
                           InstallJournal& journal) {
  const bool written = journal.keyWillChange(kProgramSettingsKey) && writeValues(programDir);
  // Logged even when writing failed: the installation stops then, its log is
  // never committed, and what was written is taken back.
  const std::string key = std::string("HKEY_LOCAL_MACHINE\\") + kProgramSettingsKey;
  const bool logged = uninstallLog.addEvent(kDeleteRegTree, key.c_str(),
                                            loadString(IDS_UNINSTALL_REGISTRY).c_str());
  return logged && written;
}
