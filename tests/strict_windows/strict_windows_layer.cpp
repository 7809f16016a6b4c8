// The strict-Windows layer: a DLL that the Windows tests and the UI scenarios
// load into the programs under test before their first instruction
// (layer_injection.h), so that where Wine forgives what Windows refuses, the
// programs meet Windows' refusal. As it loads it reads what the run asks of
// it (strict_windows_settings.h), redirects the program's file functions and
// its starting of programs, and notes the program in the shared state.
#include <windows.h>

#include <string>

#include "file_hooks.h"
#include "layer_settings.h"
#include "process_hooks.h"
#include "shared_state.h"
#include "strict_windows_settings.h"

namespace {

std::string moduleFile(HMODULE module) {
  char path[MAX_PATH * 4] = "";
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

void takeOver(HMODULE layer) {
  const LayerSettings settings = readLayerSettings();
  openSharedState(settings.stateFile);
  size_t fileCount = 0;
  const Redirection* files = fileRedirections(fileCount);
  // The layer's own file goes into every program that this one starts; the
  // string lives as long as the process.
  static const std::string layerPath = moduleFile(layer);
  size_t processCount = 0;
  const Redirection* processes = processRedirections(layerPath.c_str(), files, fileCount, processCount);
  HMODULE program = GetModuleHandleA(nullptr);
  redirectImports(program, files, fileCount);
  redirectImports(program, processes, processCount);
  addStateEntry({kProcessLine, std::to_string(GetCurrentProcessId()), moduleFile(program)});
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    takeOver(instance);
  }
  return TRUE;
}
