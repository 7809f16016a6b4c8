#include "self_removal.h"

#include "destination_directory.h"
#include "durable_changes.h"
#include "text_format.h"
#include "uninstall_command_line.h"
#include "uninstall_event_rules.h"

namespace {

constexpr DWORD kOriginalExitTimeoutMs = 60000;
const char kCopyName[] = "ksuninstall.exe";

}  // namespace

DWORD startCopyInTemp(const std::string& productName) {
  WorkingCopy copy;
  const DWORD error = startWorkingCopy(
      kCopyName,
      [&productName](const std::string& copyPath, uint64_t original) {
        return copyCommandLine(copyPath, original, productName);
      },
      copy);
  if (!error) CloseHandle(copy.process);
  return error;
}

void waitForOriginal(uint64_t originalProcess) {
  const HANDLE original = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(originalProcess));
  WaitForSingleObject(original, kOriginalExitTimeoutMs);
  CloseHandle(original);
}

void restoreUninstaller(const std::string& uninstallerPath) {
  if (!isLocalAbsolutePath(uninstallerPath) || endsWithBackslash(uninstallerPath)) return;
  // Gone with the program files, perhaps with folders above them.
  Escort::makeDirectory(parentDirectory(uninstallerPath), [](const std::string&) { return true; });
  durable::copyNewFile(ownProgramPath(), uninstallerPath);  // never over what is there
}

bool scheduleCopyRemoval() { return scheduleWorkingCopyRemoval(ownProgramPath()); }
