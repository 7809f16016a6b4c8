#include "working_copy.h"

#include <sddl.h>

#include <vector>

#include "single_run.h"
#include "system_library.h"
#include "text_format.h"

namespace {

// Only SYSTEM and the Administrators may change the folder or what it holds,
// and nothing is inherited from the folder above it.
const char kFolderSecurity[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// 128 random bits in hexadecimal, so that no other program can make the folder,
// or a link by its name, before this one does. The random source (RtlGenRandom:
// advapi32's SystemFunction036, MSDN) is looked up only now, once the DLL
// search is restricted: Windows 7..11's advapi32 forwards it to cryptbase.dll,
// which is not among the KnownDLLs that Windows always takes from the system
// folder (MSDN, Dynamic-Link Library Search Order), and an import would have
// the loader look for it beside the program before the program's first
// instruction.
bool unguessableName(std::string& name) {
  using GenerateRandom = BOOLEAN(WINAPI*)(PVOID, ULONG);
  const auto generateRandom = systemFunction<GenerateRandom>("advapi32.dll", "SystemFunction036");
  unsigned char bytes[16];
  if (!generateRandom || !generateRandom(bytes, sizeof bytes)) return false;
  const char digits[] = "0123456789abcdef";
  name = "ksu-";
  for (unsigned char byte : bytes) name += {digits[byte >> 4], digits[byte & 15]};
  return true;
}

// A new, empty folder that only the elevated may write to: between copying
// the program there and starting it, nothing else can replace the copy or put
// a DLL beside it.
DWORD createFolder(std::string& folder) {
  char windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return length ? ERROR_BUFFER_OVERFLOW : GetLastError();
  std::string name;
  if (!unguessableName(name)) return ERROR_GEN_FAILURE;
  PSECURITY_DESCRIPTOR security = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kFolderSecurity, SDDL_REVISION_1, &security, nullptr))
    return GetLastError();
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
  std::string path = windows;
  ensureTrailingBackslash(path);
  path += "Temp\\" + name;
  // Fails on anything already there by that name: the folder is always new.
  const DWORD error = CreateDirectoryA(path.c_str(), &attributes) ? ERROR_SUCCESS : GetLastError();
  LocalFree(security);
  if (!error) folder = path;
  return error;
}

DWORD start(const std::string& copyPath, const std::string& folder, const WorkingCopyCommandLine& commandLine,
            HANDLE& copyProcess) {
  std::string line = commandLine(copyPath);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(copyPath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process))
    return GetLastError();
  CloseHandle(process.hThread);
  copyProcess = process.hProcess;
  return ERROR_SUCCESS;
}

// Marks the copy `program` and then its folder for deletion at the next
// restart (the pending operations run in the order given).
void scheduleRemoval(const std::string& program) {
  MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExA(parentDirectory(program).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

std::string ownProgramPath() {
  for (DWORD capacity = MAX_PATH;; capacity *= 2) {
    std::vector<char> buffer(capacity);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
    if (length < capacity) return std::string(buffer.data(), length);
  }
}

DWORD runWorkingCopy(const char* fileName, const WorkingCopyCommandLine& commandLine, DWORD& exitCode) {
  std::string folder;
  if (DWORD error = createFolder(folder)) return error;
  const std::string copy = folder + "\\" + fileName;
  HANDLE process = nullptr;
  DWORD error = CopyFileA(ownProgramPath().c_str(), copy.c_str(), TRUE) ? ERROR_SUCCESS : GetLastError();
  if (!error) error = start(copy, folder, commandLine, process);
  if (error) {
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
    return error;
  }
  // Should this program be ended from outside meanwhile, the copy still goes.
  scheduleRemoval(copy);
  // The user started this program; the windows are the copy's to show.
  AllowSetForegroundWindow(ASFW_ANY);
  handTheRunOver();
  WaitForSingleObject(process, INFINITE);
  exitCode = ERROR_GEN_FAILURE;
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  if (DeleteFileA(copy.c_str())) RemoveDirectoryA(folder.c_str());
  return ERROR_SUCCESS;
}
