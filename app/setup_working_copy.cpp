#include "setup_working_copy.h"

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
  return runWorkingCopy(kCopyName, [](const std::string& copyPath) { return '"' + copyPath + '"' + kCopyMarker; },
                        exitCode);
}
