#include "delete_pending.h"

#include <windows.h>

#include "layer_settings.h"
#include "shared_state.h"
#include "strict_windows_settings.h"
#include "text_format.h"

namespace {

// The volume and the file's index on it, as text; empty when the file cannot
// be opened. Opened sharing everything, which holds up no one.
std::string fileIdentity(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(file, &information) != FALSE;
  CloseHandle(file);
  if (!known) return std::string();
  return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
         std::to_string(information.nFileIndexLow);
}

bool isPendingEntryFor(const StateEntry& entry, const std::string& fullPath) {
  return entry.size() == 3 && equalsIgnoringCase(entry[1], fullPath);
}

}  // namespace

bool refusedAsDeletePending(const std::string& fullPath) {
  if (!layerSettings().deletePending || fullPath.empty()) return false;
  bool pending = false;
  for (const StateEntry& entry : stateEntries(kPendingLine)) {
    if (isPendingEntryFor(entry, fullPath)) pending = true;
  }
  if (!pending) return false;
  // The last handle has closed since, and another file may have the name now.
  const std::string identity = fileIdentity(fullPath);
  dropStateEntries([&](const StateEntry& entry) {
    return entry.front() == kPendingLine && isPendingEntryFor(entry, fullPath) && entry[2] != identity;
  });
  for (const StateEntry& entry : stateEntries(kPendingLine)) {
    if (isPendingEntryFor(entry, fullPath)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return true;
    }
  }
  return false;
}

void noteDeletion(const std::string& fullPath) {
  if (!layerSettings().deletePending || fullPath.empty()) return;
  const std::string identity = fileIdentity(fullPath);
  if (!identity.empty()) addStateEntry({kPendingLine, fullPath, identity});
}
