#include "self_removal.h"

#include "directory_creation.h"
#include "durable_changes.h"
#include "product_names.h"
#include "text_format.h"
#include "uninstall_command_line.h"
#include "uninstall_event_rules.h"
#include "working_copy.h"

DWORD runCopyInTemp(const std::string& productName, DWORD& exitCode) {
  return runWorkingCopy(
      kUninstallerFile, [&productName](const std::string& copyPath) { return copyCommandLine(copyPath, productName); },
      exitCode);
}

void restoreUninstaller(const std::string& uninstallerPath) {
  if (!isLocalAbsolutePath(uninstallerPath) || endsWithBackslash(uninstallerPath)) return;
  // Gone with the program files, perhaps with folders above them.
  Escort::makeDirectory(parentDirectory(uninstallerPath), [](const std::string&) { return true; });
  durable::copyNewFile(ownProgramPath(), uninstallerPath);  // never over what is there
}

std::string copyFolder() { return parentDirectory(ownProgramPath()); }
