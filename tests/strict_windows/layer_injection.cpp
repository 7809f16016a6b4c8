#include "layer_injection.h"

#include <psapi.h>

#include <vector>

namespace {

// Generous: the thread that loads the layer also sets up the whole process
// (the program's imports, their DLLs) on a busy machine.
constexpr DWORD kLoadTimeoutMs = 30000;

// Whether the process has loaded `layer`: asked of the process itself where
// the loading thread's exit code (a module handle cut to 32 bits) cannot say.
bool hasLoaded(HANDLE process, const std::string& layer) {
  std::vector<HMODULE> modules(1024);
  DWORD bytes = 0;
  if (!EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &bytes))
    return false;
  modules.resize(bytes / sizeof(HMODULE));
  for (HMODULE module : modules) {
    char path[MAX_PATH] = "";
    if (GetModuleFileNameExA(process, module, path, MAX_PATH) && lstrcmpiA(path, layer.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace

DWORD loadLayerInto(HANDLE process, const std::string& layer) {
  const SIZE_T size = layer.size() + 1;
  void* remotePath = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remotePath == nullptr) return GetLastError();
  DWORD error = ERROR_SUCCESS;
  // kernel32 lies at the same address in every process of one architecture
  // until the next restart, so this process's LoadLibraryA is the program's.
  const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  if (!WriteProcessMemory(process, remotePath, layer.c_str(), size, nullptr)) {
    error = GetLastError();
  } else if (HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remotePath, 0, nullptr)) {
    DWORD loaded = 0;
    if (WaitForSingleObject(thread, kLoadTimeoutMs) != WAIT_OBJECT_0)
      error = WAIT_TIMEOUT;
    else if (!GetExitCodeThread(thread, &loaded))
      error = GetLastError();
    else if (loaded == 0 && !hasLoaded(process, layer))
      error = ERROR_DLL_INIT_FAILED;
    CloseHandle(thread);
  } else {
    error = GetLastError();
  }
  if (error != WAIT_TIMEOUT) VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
  return error;
}

DWORD startWithLayer(const std::string& layer, LPCSTR application, LPSTR commandLine,
                     LPSECURITY_ATTRIBUTES processSecurity, LPSECURITY_ATTRIBUTES threadSecurity, BOOL inheritHandles,
                     DWORD flags, LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                     LPPROCESS_INFORMATION started) {
  if (!CreateProcessA(application, commandLine, processSecurity, threadSecurity, inheritHandles,
                      flags | CREATE_SUSPENDED, environment, directory, startup, started))
    return GetLastError();
  if (DWORD error = loadLayerInto(started->hProcess, layer)) {
    TerminateProcess(started->hProcess, error);
    CloseHandle(started->hThread);
    CloseHandle(started->hProcess);
    *started = {};
    return error;
  }
  if (!(flags & CREATE_SUSPENDED)) ResumeThread(started->hThread);
  return ERROR_SUCCESS;
}
