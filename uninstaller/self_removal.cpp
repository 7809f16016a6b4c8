#include "self_removal.h"

#include <sddl.h>

#include <vector>

#include "destination_directory.h"
#include "system_library.h"
#include "text_format.h"
#include "uninstall_command_line.h"
#include "uninstall_event_rules.h"

namespace {

constexpr DWORD kOriginalExitTimeoutMs = 60000;
const char kCopyName[] = "ksuninstall.exe";

// Only SYSTEM and the Administrators may change the folder or what it holds,
// and nothing is inherited from the temporary folder, which the user's own,
// unelevated programs may write to.
const char kCopyDirectorySecurity[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// 128 random bits in hexadecimal, so that no other program can make the
// folder, or a link by its name, before the uninstaller does. The random
// source (RtlGenRandom) is looked up only now, once the DLL search is
// restricted: from Windows 7 on, advapi32 passes it on to cryptbase.dll,
// which is not one of the DLLs Windows always takes from the system folder,
// and an import would have the loader look for it beside the program before
// the program's first instruction.
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

// A new, empty directory of the temporary folder that only the elevated may
// write to: between copying the uninstaller there and starting it, nothing
// else can replace the copy or put a DLL beside it.
DWORD createCopyDirectory(std::string& directory) {
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return length ? ERROR_BUFFER_OVERFLOW : GetLastError();
  std::string name;
  if (!unguessableName(name)) return ERROR_GEN_FAILURE;
  PSECURITY_DESCRIPTOR security = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kCopyDirectorySecurity, SDDL_REVISION_1,
                                                            &security, nullptr))
    return GetLastError();
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
  const std::string path = temp + name;
  // Fails on anything already there by that name: the folder is always new.
  const DWORD error = CreateDirectoryA(path.c_str(), &attributes) ? ERROR_SUCCESS : GetLastError();
  LocalFree(security);
  if (!error) directory = path;
  return error;
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
  if (!isLocalAbsolutePath(uninstallerPath) || endsWithBackslash(uninstallerPath)) return;
  // Gone with the program files, perhaps with folders above them.
  Escort::makeDirectory(parentDirectory(uninstallerPath), [](const std::string&) { return true; });
  CopyFileA(ownProgramPath().c_str(), uninstallerPath.c_str(), TRUE);  // never over what is there
}

bool scheduleCopyRemoval() {
  const std::string path = ownProgramPath();
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) &&
         MoveFileExA(parentDirectory(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
