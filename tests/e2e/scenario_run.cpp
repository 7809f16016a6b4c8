#include "scenario_run.h"

#include <fstream>
#include <iterator>

#include "scenario.h"
#include "window_dump.h"

ScenarioRun::ScenarioRun(std::string setupProgram, std::string screenshotDirectory, std::string probeModule)
    : setup(std::move(setupProgram)), screenshots(std::move(screenshotDirectory)), probe(std::move(probeModule)) {}

UiDriver& ScenarioRun::started(std::unique_ptr<SetupProcess> process) {
  runs.push_back(std::make_unique<UiDriver>(std::move(process), screenshots));
  return *runs.back();
}

UiDriver& ScenarioRun::startSetup(const std::string& arguments) {
  return started(std::make_unique<SetupProcess>(setup, arguments, false));
}

UiDriver& ScenarioRun::startSetupWithShowProbe() {
  char directory[MAX_PATH] = "";
  GetTempPathA(sizeof directory, directory);
  probeFile = std::string(directory) + "kestrel-show-probe-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(probeFile.c_str());
  // The probe runs inside the program and finds its file through the
  // environment, which the program inherits.
  SetEnvironmentVariableA("KESTREL_SHOW_PROBE", probeFile.c_str());

  HMODULE module = LoadLibraryA(probe.c_str());
  check(module != nullptr, "the show probe " + probe + " loads");
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "probeCallWndProc")));
  check(hook != nullptr, "the show probe exports probeCallWndProc");
  auto process = std::make_unique<SetupProcess>(setup, "", true);
  check(SetWindowsHookExA(WH_CALLWNDPROC, hook, module, process->threadId()) != nullptr,
        "the show probe is set on the program's main thread");
  process->resume();
  return started(std::move(process));
}

PageSnapshot ScenarioRun::showSnapshot() const {
  std::ifstream in(probeFile, std::ios::binary);
  check(in.good(), "the show probe wrote " + probeFile);
  return parseSnapshot(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

int ScenarioRun::reportAndEndRunning(std::ostream& out) {
  int running = 0;
  for (const auto& run : runs) {
    if (!run->process().running()) continue;
    ++running;
    dumpWindows(run->process(), out);
    run->process().terminate();
  }
  return running;
}
