#include "process_hooks.h"

#include <windows.h>

#include <string>

#include "layer_injection.h"

namespace {

std::string layerFile;
const Redirection* lookedUp = nullptr;
size_t lookedUpCount = 0;

// Given the layer before it runs; one that cannot take it is ended, and the start fails.
BOOL WINAPI strictCreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processSecurity,
                                 LPSECURITY_ATTRIBUTES threadSecurity, BOOL inherit, DWORD flags, LPVOID environment,
                                 LPCSTR directory, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION started) {
  const DWORD error = startWithLayer(layerFile, application, commandLine, processSecurity, threadSecurity, inherit,
                                     flags, environment, directory, startup, started);
  SetLastError(error);
  return error == ERROR_SUCCESS;
}

FARPROC WINAPI strictGetProcAddress(HMODULE module, LPCSTR name) {
  return redirectedAddress(module, name, GetProcAddress(module, name), lookedUp, lookedUpCount);
}

}  // namespace

const Redirection* processRedirections(const char* layer, const Redirection* others, size_t othersCount,
                                       size_t& count) {
  static const Redirection redirections[] = {
      {"kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(strictCreateProcessA)},
      {"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(strictGetProcAddress)},
  };
  layerFile = layer;
  lookedUp = others;
  lookedUpCount = othersCount;
  count = sizeof redirections / sizeof redirections[0];
  return redirections;
}
