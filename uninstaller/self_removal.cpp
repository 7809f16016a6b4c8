#include "self_removal.h"

#include <vector>

#include "uninstall_command_line.h"
#include "uninstall_event_rules.h"

namespace {

constexpr DWORD kOriginalExitTimeoutMs = 60000;
const char kCopyName[] = "ksuninstall.exe";

std::string parentDirectory(const std::string& path) {
  const size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// A new, empty directory of the temporary folder, named uniquely by Windows.
DWORD createCopyDirectory(std::string& directory) {
  char temp[MAX_PATH], unique[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return length ? ERROR_BUFFER_OVERFLOW : GetLastError();
  // GetTempFileNameA makes the name unique by creating a file of that name;
  // the directory takes its place.
  if (!GetTempFileNameA(temp, "ksu", 0, unique) || !DeleteFileA(unique)) return GetLastError();
  if (!CreateDirectoryA(unique, nullptr)) return GetLastError();
  directory = unique;
  return ERROR_SUCCESS;
}

DWORD startCopy(const std::string& copyPath, const std::string& directory,
                const std::string& productName) {
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                       SYNCHRONIZE, TRUE, 0))
    return GetLastError();
  std::string commandLine = copyCommandLine(
      copyPath, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(self)), productName);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(copyPath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                      nullptr, directory.c_str(), &startup, &process);
  const DWORD error = started ? ERROR_SUCCESS : GetLastError();
  if (started) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(self);  // the copy holds its own
  return error;
}

}  // namespace

std::string ownProgramPath() {
  for (DWORD capacity = MAX_PATH;; capacity *= 2) {
    std::vector<char> buffer(capacity);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
    if (length < capacity) return std::string(buffer.data(), length);
  }
}

DWORD startCopyInTemp(const std::string& productName) {
  std::string directory;
  if (DWORD error = createCopyDirectory(directory)) return error;
  const std::string copyPath = directory + "\\" + kCopyName;
  DWORD error = CopyFileA(ownProgramPath().c_str(), copyPath.c_str(), TRUE) ? ERROR_SUCCESS
                                                                           : GetLastError();
  if (!error) error = startCopy(copyPath, directory, productName);
  if (error) {
    DeleteFileA(copyPath.c_str());
    RemoveDirectoryA(directory.c_str());
  }
  return error;
}

void waitForOriginal(uint64_t originalProcess) {
  const HANDLE original = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(originalProcess));
  WaitForSingleObject(original, kOriginalExitTimeoutMs);
  CloseHandle(original);
}

void restoreUninstaller(const std::string& uninstallerPath) {
  if (!isLocalAbsolutePath(uninstallerPath) || uninstallerPath.back() == '\\') return;
  CreateDirectoryA(parentDirectory(uninstallerPath).c_str(), nullptr);  // gone with the program files
  CopyFileA(ownProgramPath().c_str(), uninstallerPath.c_str(), TRUE);   // never over what is there
}

bool scheduleCopyRemoval() {
  const std::string path = ownProgramPath();
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) &&
         MoveFileExA(parentDirectory(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
