#include "setup_working_copy.h"

#include "setup_exit_codes.h"
#include "text_format.h"
#include "working_copy.h"

namespace {

const char kCopyName[] = "ks3setup.exe";
// After the copy's quoted path. No user starts the setup program with an
// argument (it reads none other), and a '\' begins no word a user would type.
const char kCopyMarker[] = " \\working-copy";

}  // namespace

bool isSetupWorkingCopy(const std::string& commandLine) {
  const std::string marker = kCopyMarker;
  return commandLine.size() > marker.size() &&
         commandLine.compare(commandLine.size() - marker.size(), marker.size(), marker) == 0;
}

DWORD runFromWorkingCopy(DWORD& exitCode) {
  // The user started this program; the wizard is the copy's to show.
  AllowSetForegroundWindow(ASFW_ANY);
  WorkingCopy copy;
  const DWORD error = startWorkingCopy(
      kCopyName, [](const std::string& copyPath, uint64_t) { return '"' + copyPath + '"' + kCopyMarker; }, copy);
  if (error) return error;
  // Should this program be ended from outside meanwhile, the copy still goes.
  scheduleWorkingCopyRemoval(copy.program);
  WaitForSingleObject(copy.process, INFINITE);
  exitCode = kExitFailed;
  GetExitCodeProcess(copy.process, &exitCode);
  CloseHandle(copy.process);
  if (DeleteFileA(copy.program.c_str())) RemoveDirectoryA(parentDirectory(copy.program).c_str());
  return ERROR_SUCCESS;
}
